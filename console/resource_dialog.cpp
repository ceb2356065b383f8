// Building dialogs from their resources.
#include "console/resource_dialog.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace console {
namespace {

QString text(std::string_view s) {
  return QString::fromLatin1(s.data(), static_cast<qsizetype>(s.size()));
}

QString nameOf(int id) { return QStringLiteral("control%1").arg(id); }

// Dialog units: a quarter of the average character width across, an eighth
// of the character height down.
struct DialogUnits {
  int charWidth;
  int charHeight;
  QRect toPixels(int x, int y, int w, int h) const {
    return {x * charWidth / 4, y * charHeight / 8, w * charWidth / 4, h * charHeight / 8};
  }
};

QWidget* makeControl(const resources::ControlResource& control, QDialog* dialog) {
  if (control.kind == resources::ControlKind::Button) {
    auto* button = new QPushButton(text(control.text), dialog);
    const int id = control.id;
    QObject::connect(button, &QPushButton::clicked, dialog, [dialog, id] { dialog->done(id); });
    return button;
  }
  auto* label = new QLabel(text(control.text), dialog);
  if (control.kind == resources::ControlKind::ValueField)
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

std::unique_ptr<QDialog> buildDialog(const resources::DialogResource& resource, QWidget* parent) {
  auto dialog = std::make_unique<QDialog>(parent);
  dialog->setObjectName(QStringLiteral("dialog%1").arg(resource.id));
  dialog->setWindowTitle(text(resource.caption));
  QFont font = dialog->font();
  font.setStyleHint(QFont::SansSerif);
  font.setFamily(QStringLiteral("Sans Serif"));
  font.setPointSize(resources::kDialogPointSize);
  dialog->setFont(font);
  const QFontMetrics metrics(font);
  const DialogUnits units{std::max(1, metrics.averageCharWidth()), std::max(1, metrics.height())};
  for (const resources::ControlResource& control : resource.controls) {
    QWidget* widget = makeControl(control, dialog.get());
    if (control.id != resources::kStatic) widget->setObjectName(nameOf(control.id));
    widget->setGeometry(units.toPixels(control.x, control.y, control.width, control.height));
  }
  dialog->setFixedSize(units.toPixels(0, 0, resource.width, resource.height).size());
  return dialog;
}

void setField(QDialog& dialog, int id, const QString& value) {
  if (auto* label = dialog.findChild<QLabel*>(nameOf(id))) label->setText(value);
}

QString field(const QDialog& dialog, int id) {
  const auto* label = dialog.findChild<QLabel*>(nameOf(id));
  return label != nullptr ? label->text() : QString();
}

}  // namespace console
