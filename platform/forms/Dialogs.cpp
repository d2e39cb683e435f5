#include "Dialogs.h"

#include "PicturePreview.h"
#include "Printers.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>

#include <utility>

namespace {
TDialogService*& Override()
{
    static TDialogService* service = nullptr;
    return service;
}

QString Q(const String& s) { return QString::fromStdString(s); }

// Every dialog belongs to the form the user works in, so the window manager keeps it above that
// form (also above one that stays on top) instead of opening it behind, where a modal dialog
// would block the program unseen.
QWidget* DialogOwner()
{
    TForm* form = Screen()->ActiveForm();
    return form ? form->Dialog() : nullptr;
}
}  // namespace

TDialogService& Dialogs()
{
    static TDialogService real;
    return Override() ? *Override() : real;
}

void SetDialogService(TDialogService* service) { Override() = service; }

int TDialogService::MessageBox(const String& text, const String& caption, unsigned flags)
{
    QMessageBox box(DialogOwner());
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

namespace {
void ApplySetup(QFileDialog& dialog, const TFileDialogSetup& setup)
{
    const QStringList filters = dialog.nameFilters();
    if (setup.FilterIndex >= 1 && setup.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[setup.FilterIndex - 1]);
    if (!setup.FileName.empty())
        dialog.selectFile(Q(setup.FileName));
    if (setup.EditStyle == fsComboBox) {
        QStringList history;
        for (const String& name : setup.History)
            history << Q(name);
        dialog.setHistory(history);
    }
}

void ReadChosenFilter(const QFileDialog& dialog, TFileDialogSetup& setup)
{
    const int chosen = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0)
        setup.FilterIndex = chosen + 1;
}

bool RunOpenDialog(const String& title, const String& filter, const String& defaultExt, bool multiSelect,
                   const String& initialDir, bool preview, std::vector<String>& files, TFileDialogSetup& setup)
{
    QFileDialog dialog(DialogOwner(), Q(title), Q(initialDir), Q(QtNameFilters(filter)));
    dialog.setFileMode(multiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!defaultExt.empty())
        dialog.setDefaultSuffix(Q(defaultExt).remove(0, defaultExt[0] == '.' ? 1 : 0));
    ApplySetup(dialog, setup);
    if (preview) {
        // The pane goes into the dialog's own layout, which only Qt's own dialog has.
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        if (auto* grid = qobject_cast<QGridLayout*>(dialog.layout())) {
            auto* pane = new TPicturePreviewPane(&dialog);
            grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);
            // Wider by the pane, so the file list keeps its room.
            dialog.resize(dialog.sizeHint().expandedTo(dialog.size() + QSize(pane->sizeHint().width(), 0)));
            QObject::connect(&dialog, &QFileDialog::currentChanged,
                             [pane](const QString& path) { pane->ShowFile(path.toStdString()); });
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    ReadChosenFilter(dialog, setup);
    files.clear();
    for (const QString& f : dialog.selectedFiles())
        files.push_back(f.toStdString());
    return !files.empty();
}
}  // namespace

bool TDialogService::OpenFiles(const String& title, const String& filter, const String& defaultExt, bool multiSelect,
                               const String& initialDir, std::vector<String>& files, TFileDialogSetup& setup)
{
    const bool preview = std::exchange(picturePreview_, false);
    return RunOpenDialog(title, filter, defaultExt, multiSelect, initialDir, preview, files, setup);
}

bool TDialogService::OpenPictureFiles(const String& title, const String& filter, const String& defaultExt,
                                      bool multiSelect, const String& initialDir, std::vector<String>& files,
                                      TFileDialogSetup& setup)
{
    struct Preview {
        bool& on;
        ~Preview() { on = false; }
    } preview{picturePreview_ = true};
    return OpenFiles(title, filter, defaultExt, multiSelect, initialDir, files, setup);
}

bool TDialogService::SaveFile(const String& title, const String& filter, const String& defaultExt, String& fileName,
                              TFileDialogSetup& setup)
{
    QFileDialog dialog(DialogOwner(), Q(title), Q(fileName), Q(QtNameFilters(filter)));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    if (!defaultExt.empty())
        dialog.setDefaultSuffix(Q(defaultExt).remove(0, defaultExt[0] == '.' ? 1 : 0));
    ApplySetup(dialog, setup);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    ReadChosenFilter(dialog, setup);
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
    system->OfferSetup();
    QPrintDialog dialog(&printer, DialogOwner());
    dialog.setWindowTitle("Print Setup");
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // Setup prints nothing, so its accept button does not say "Print".
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>())
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok))
            ok->setText("OK");
    if (dialog.exec() == QDialog::Accepted) {
        system->TakeSetup();
        return true;
    }
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
    QString answer = QInputDialog::getText(DialogOwner(), Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
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

TFileDialogSetup TOpenDialog::Setup() const
{
    TFileDialogSetup setup;
    setup.FilterIndex = FilterIndex;
    for (int i = 0; i < HistoryList.Count(); ++i)
        setup.History.push_back(HistoryList[i]);
    setup.EditStyle = FileEditStyle;
    setup.FileName = FileName;
    return setup;
}

bool TOpenDialog::Execute()
{
    std::vector<String> chosen;
    TFileDialogSetup setup = Setup();
    if (!Dialogs().OpenFiles(Title, Filter, DefaultExt, Options & ofAllowMultiSelect, InitialDir, chosen, setup))
        return false;
    FilterIndex = setup.FilterIndex;
    return Take(chosen);
}

bool TOpenDialog::Take(const std::vector<String>& chosen)
{
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
    std::vector<String> chosen;
    TFileDialogSetup setup = Setup();
    if (!Dialogs().OpenPictureFiles(Title, Filter, DefaultExt, Options & ofAllowMultiSelect, InitialDir, chosen,
                                    setup))
        return false;
    FilterIndex = setup.FilterIndex;
    return Take(chosen);
}

bool TSaveDialog::Execute()
{
    String name = FileName;
    TFileDialogSetup setup = Setup();
    if (!Dialogs().SaveFile(Title, Filter, DefaultExt, name, setup))
        return false;
    FilterIndex = setup.FilterIndex;
    FileName = name;
    Files.Clear();
    Files.Add(name);
    return true;
}
