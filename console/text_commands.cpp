// The console window's commands: their routing, the clipboard, font and colour.
#include <QApplication>
#include <QClipboard>

#include "console/console_window.h"
#include "console/dialogs.h"
#include "console/window_settings.h"

namespace console {

void ConsoleWindow::command(int id) {
  switch (static_cast<Command>(id)) {
    case Command::Save: save(); break;
    case Command::SaveAs: saveAs(); break;
    case Command::Print: print(); break;
    case Command::Undo: console_->undo(); break;
    case Command::Cut: cut(); break;
    case Command::Copy: copy(); break;
    case Command::Paste: paste(); break;
    case Command::Delete: console_->deleteSelection(); break;
    case Command::Font: chooseFont(); break;
    case Command::Colour: chooseColour(); break;
    default: break;
  }
}

bool ConsoleWindow::copy() {
  if (!console_->text().hasSelection()) return false;
  const std::string word = console_->text().selectedText();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setText(QString::fromUtf8(word.data(), static_cast<qsizetype>(word.size())));
  emit copied();
  return true;
}

bool ConsoleWindow::cut() {
  if (!copy()) return false;
  console_->deleteSelection();
  return true;
}

// The clipboard's plain text up to a zero character, at most 1024
// characters, typed one by one: line ends (CR LF, CR or LF, as other
// programs put them) end lines, tabs expand, other control characters are
// dropped.
void ConsoleWindow::paste() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return;
  QString text = clipboard->text();
  const qsizetype zero = text.indexOf(QChar(u'\0'));
  if (zero >= 0) text.truncate(zero);
  text.truncate(kPasteLimit);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
  text.replace(QChar(u'\n'), QChar(u'\r'));
  const QByteArray typed = text.toUtf8();
  console_->typeText(std::string_view(typed.constData(), static_cast<std::size_t>(typed.size())));
}

bool clipboardHasText() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  return clipboard != nullptr && !clipboard->text().isEmpty();
}

void ConsoleWindow::chooseFont() {
  QFont font = console_->textFont();
  if (!platformDialogs().chooseFont(font)) return;
  console_->setTextFont(font);
  rememberLook(*console_);
}

void ConsoleWindow::chooseColour() {
  QColor colour = console_->textColour();
  if (!platformDialogs().chooseColour(colour)) return;
  console_->setTextColour(colour);
  rememberLook(*console_);
}

}  // namespace console
