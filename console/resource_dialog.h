// Dialogs built from their resource tables: static texts, value fields and
// buttons placed in dialog units of an 8-point sans-serif font. Every button
// closes the dialog with its identifier.
#pragma once

#include <QDialog>
#include <memory>

#include "resources/resource_tables.h"

namespace console {

std::unique_ptr<QDialog> buildDialog(const resources::DialogResource& resource, QWidget* parent);
// The text of a value field by its identifier.
void setField(QDialog& dialog, int id, const QString& value);
QString field(const QDialog& dialog, int id);

}  // namespace console
