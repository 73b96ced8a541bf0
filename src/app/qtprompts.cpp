#include "app/qtprompts.h"
#include "graphics/uitext.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace {
QString Caption() {
    return QString::fromUtf8(QtPrompts::kCaption);
}

// The dialog opens in the folder of the current image with its name filled in.
void StartAt(QFileDialog& dialog, const QString& path) {
    if (path.isEmpty()) return;
    const QFileInfo info(path);
    if (!info.dir().exists()) return;
    dialog.setDirectory(info.absolutePath());
    dialog.selectFile(info.fileName());
}
}  // namespace

void QtPrompts::Message(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Caption(), text, QMessageBox::Ok, parent_);
    box.exec();
}

bool QtPrompts::AskYesNo(const QString& text) {
    QMessageBox box(QMessageBox::Question, Caption(), text, QMessageBox::Yes | QMessageBox::No, parent_);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

UserPrompts::Answer QtPrompts::AskYesNoCancel(const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, Caption(), text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                    parent_);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;  // Cancel, or the box closed
    }
}

QString QtPrompts::OpenFileName() {
    QFileDialog dialog(parent_);
    dialog.setObjectName("OpenDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({Tr("FileDialog", kRomFilter), Tr("FileDialog", kAllFilter)});
    dialog.selectNameFilter(Tr("FileDialog", kRomFilter));
    StartAt(dialog, StartPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::SaveFileName() {
    QFileDialog dialog(parent_);
    dialog.setObjectName("SaveDialog1");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(Tr("FileDialog", kRomFilter));
    dialog.setDefaultSuffix("nes");  // added when the typed name has no extension
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setSizeGripEnabled(true);
    StartAt(dialog, StartPath());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::SaveFileNameFor(const QString& caption, const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent_, caption);
    dialog.setObjectName("SaveDialogExport");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setSizeGripEnabled(true);
    // In the image's folder, named after the image.
    const QString image = StartPath();
    if (!image.isEmpty()) {
        const QFileInfo info(image);
        StartAt(dialog, info.dir().filePath(info.completeBaseName() + "." + suffix));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompts::OpenFileNameFor(const QString& caption, const QString& filter) {
    QFileDialog dialog(parent_, caption);
    dialog.setObjectName("OpenDialogImport");
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    const QString image = StartPath();
    if (!image.isEmpty()) dialog.setDirectory(QFileInfo(image).dir());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

bool QtPrompts::InputText(const QString& caption, const QString& prompt, QString& value) {
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, prompt, QLineEdit::Normal, value, &ok);
    if (ok) value = text;
    return ok;
}

void QtPrompts::ErrorReport(const QString& text) {
    QMessageBox box(QMessageBox::Critical, Caption(), text, QMessageBox::Ok, parent_);
    box.exec();
}

int QtPrompts::RunDialog(QDialog& dialog, const QString&) {
    return dialog.exec();
}
