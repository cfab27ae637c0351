#pragma once
// "Rename Workbook" and "Rename Worksheet": one name field that refuses the characters a file name
// cannot hold as they are typed, and keeps to the longest name a document may have.
#include <QDialog>
#include <QLineEdit>

#include "platform/platform.h"

namespace qx {

class RenameDialog final : public QDialog {
    Q_OBJECT
  public:
    // `workbook` chooses the caption; `current` is the name the field starts with.
    RenameDialog(bool workbook, const QString& current, Platform& platform, QWidget* parent = nullptr);

    QString name() const { return m_name->text(); }
    QLineEdit* nameField() const { return m_name; }

  private:
    void edited(const QString& text);

    Platform& m_platform;
    QLineEdit* m_name = nullptr;
    QString m_accepted;
};

}  // namespace qx
