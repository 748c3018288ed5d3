#include "QtDialogService.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace
{

QMessageBox::Icon ToQtIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

std::optional<QString> AskForScriptPath(QWidget* parent, QFileDialog::AcceptMode mode)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(mode);
    // Qt confirms before replacing an existing file unless told otherwise.
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // The dialog shows a filter's text up to its last parentheses, which hold
    // what it matches: "All Files (*.*)" keeps its familiar label yet matches
    // every file, where "*.*" itself would hide every name without a dot.
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters(
        {QStringLiteral("Text Files (*.txt) (*.txt)"), QStringLiteral("All Files (*.*) (*)")});
    dialog.selectFile(QStringLiteral("*.txt"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace

MessageAnswer QtDialogService::ShowMessage(QWidget* parent, const QString& text,
                                           const QString& caption, MessageButtons buttons,
                                           MessageIcon icon)
{
    QMessageBox box(ToQtIcon(icon), caption, text, QMessageBox::NoButton, parent);
    if (buttons == MessageButtons::Ok) {
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
        return MessageAnswer::Ok;
    }
    if (buttons == MessageButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
    }
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Cancel;
    }
}

void QtDialogService::Beep()
{
    QApplication::beep();
}

int QtDialogService::ExecDialog(QDialog& dialog)
{
    return dialog.exec();
}

std::optional<QString> QtDialogService::GetOpenFilePath(QWidget* parent)
{
    return AskForScriptPath(parent, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogService::GetSaveFilePath(QWidget* parent)
{
    return AskForScriptPath(parent, QFileDialog::AcceptSave);
}

std::optional<ColorRef> QtDialogService::ChooseColor(QWidget* parent, ColorRef initial)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(initial), parent);
    if (!chosen.isValid())
        return std::nullopt;
    return FromQColor(chosen);
}

bool QtDialogService::PrintText(QWidget* parent, const QString& documentName, const QString& text)
{
    QPrinter printer;
    printer.setDocName(documentName);
    QPrintDialog dialog(&printer, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    return PrintPlainText(printer, text);
}

bool QtDialogService::PrintPlainText(QPrinter& printer, const QString& text)
{
    QTextDocument document;
    document.setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    document.setPlainText(text);
    document.print(&printer);
    return printer.printerState() != QPrinter::Error;
}
