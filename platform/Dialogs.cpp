#include "Dialogs.h"

#include "Printers.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace {
TDialogService*& Override()
{
    static TDialogService* service = nullptr;
    return service;
}

QString Q(const String& s) { return QString::fromStdString(s); }
}  // namespace

TDialogService& Dialogs()
{
    static TDialogService real;
    return Override() ? *Override() : real;
}

void SetDialogService(TDialogService* service) { Override() = service; }

int TDialogService::MessageBox(const String& text, const String& caption, unsigned flags)
{
    QMessageBox box;
    box.setWindowTitle(Q(caption));
    box.setTextFormat(Qt::PlainText);
    box.setText(Q(text));
    switch (flags & 0xF0) {
    case MB_ICONERROR: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONWARNING: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONINFORMATION: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    switch (flags & 0xF) {
    case MB_OKCANCEL: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case MB_YESNO: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    default: box.setStandardButtons(QMessageBox::Ok); break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel: return IDCANCEL;
    case QMessageBox::Yes: return IDYES;
    case QMessageBox::No: return IDNO;
    default: return IDOK;
    }
}

String QtNameFilters(const String& filter)
{
    // "Text|mask|Text|mask" becomes "Text (mask with blanks);;..."
    QStringList parts = Q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString masks = parts[i + 1];
        masks.replace(';', ' ');
        QString name = parts[i];
        int paren = name.indexOf('(');
        if (paren > 0)
            name = name.left(paren).trimmed();
        out << name + " (" + masks + ")";
    }
    return out.join(";;").toStdString();
}

bool TDialogService::OpenFiles(const String& title, const String& filter, const String& defaultExt, bool multiSelect,
                               const String& initialDir, std::vector<String>& files)
{
    QFileDialog dialog(nullptr, Q(title), Q(initialDir), Q(QtNameFilters(filter)));
    dialog.setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!defaultExt.empty())
        dialog.setDefaultSuffix(Q(defaultExt).remove(0, defaultExt[0] == '.' ? 1 : 0));
    if (dialog.exec() != QDialog::Accepted)
        return false;
    files.clear();
    for (const QString& f : dialog.selectedFiles())
        files.push_back(f.toStdString());
    return !files.empty();
}

bool TDialogService::SaveFile(const String& title, const String& filter, const String& defaultExt, String& fileName)
{
    QFileDialog dialog(nullptr, Q(title), Q(fileName), Q(QtNameFilters(filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!defaultExt.empty())
        dialog.setDefaultSuffix(Q(defaultExt).remove(0, defaultExt[0] == '.' ? 1 : 0));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    fileName = dialog.selectedFiles().first().toStdString();
    return true;
}

bool TDialogService::PrinterSetup()
{
    auto* system = dynamic_cast<TSystemPrintTarget*>(&Printer()->Target());
    if (!system)
        return false;
    QPrinter& printer = system->Device();
    // The dialog changes the printer while the user picks in it; cancelled, it must leave the printer as it was.
    const QString name = printer.printerName();
    const QPrinter::OutputFormat format = printer.outputFormat();
    const QString file = printer.outputFileName();
    const QPageLayout layout = printer.pageLayout();
    const int copies = printer.copyCount();
    const QPrinter::ColorMode colour = printer.colorMode();
    const QPrinter::DuplexMode duplex = printer.duplex();
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle("Print Setup");
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    if (dialog.exec() == QDialog::Accepted)
        return true;
    if (format == QPrinter::NativeFormat)
        printer.setPrinterName(name);
    printer.setOutputFormat(format);
    printer.setOutputFileName(file);
    printer.setPageLayout(layout);
    printer.setCopyCount(copies);
    printer.setColorMode(colour);
    printer.setDuplex(duplex);
    return false;
}

bool TDialogService::InputQuery(const String& caption, const String& prompt, String& value)
{
    bool ok = false;
    QString answer = QInputDialog::getText(nullptr, Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
    if (ok)
        value = answer.toStdString();
    return ok;
}

TModalResult TDialogService::ShowModal(TForm& form) { return form.RunModalLoop(); }

void ShowMessage(const String& text) { Dialogs().MessageBox(text, Application()->Title, MB_OK); }

bool InputQuery(const String& caption, const String& prompt, String& value)
{
    return Dialogs().InputQuery(caption, prompt, value);
}

String InputBox(const String& caption, const String& prompt, const String& defaultValue)
{
    String value = defaultValue;
    return Dialogs().InputQuery(caption, prompt, value) ? value : defaultValue;
}

bool TOpenDialog::Execute()
{
    std::vector<String> chosen;
    if (!Dialogs().OpenFiles(Title, Filter, DefaultExt, Options & ofAllowMultiSelect, InitialDir, chosen))
        return false;
    Files.Clear();
    for (const String& f : chosen)
        Files.Add(f);
    FileName = chosen.front();
    return true;
}

bool TOpenPictureDialog::Execute()
{
    if (Filter.empty())
        Filter = TPicture::GraphicFilter();
    return TOpenDialog::Execute();
}

bool TSaveDialog::Execute()
{
    String name = FileName;
    if (!Dialogs().SaveFile(Title, Filter, DefaultExt, name))
        return false;
    FileName = name;
    Files.Clear();
    Files.Add(name);
    return true;
}
