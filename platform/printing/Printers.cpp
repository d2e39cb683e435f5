#include "Printers.h"

#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>

#include <cmath>

TPrinter::TPrinter() : target_(std::make_unique<TSystemPrintTarget>()) {}

TPrinter::~TPrinter()
{
    if (printing_)
        Abort();
}

void TPrinter::SetTarget(std::unique_ptr<TPrintTarget> target)
{
    if (printing_)
        Abort();
    target_ = std::move(target);
}

void TPrinter::SetOrientation(TPrinterOrientation o)
{
    if (printing_)
        throw EInvalidOperation("Printing in progress");
    orientation_ = o;
}

void TPrinter::BeginDoc()
{
    if (printing_)
        throw EInvalidOperation("Printing in progress");
    aborted_ = false;
    device_ = target_->Begin(orientation_, Title);
    if (!device_)
        throw EInvalidOperation("Printer selected is not valid");
    printing_ = true;
    canvas_.BeginOn(device_);
    canvas_.Font.SetName("Arial");
    canvas_.Font.SetSize(10);
    canvas_.Font.SetColor(clBlack);
    canvas_.Pen.Color = clBlack;
    canvas_.Pen.Width = 1;
    canvas_.Pen.Style = psSolid;
    canvas_.Brush.Color = clWhite;
    canvas_.Brush.Style = bsSolid;
}

void TPrinter::NewPage()
{
    if (!printing_)
        throw EInvalidOperation("Printer is not currently printing");
    canvas_.Release();
    target_->NewPage();
    canvas_.BeginOn(device_);
}

void TPrinter::EndDoc()
{
    if (!printing_)
        throw EInvalidOperation("Printer is not currently printing");
    canvas_.Release();
    printing_ = false;
    device_ = nullptr;
    target_->End();
}

void TPrinter::Abort()
{
    if (!printing_)
        return;
    canvas_.Release();
    printing_ = false;
    aborted_ = true;
    device_ = nullptr;
    target_->Abort();
}

TCanvas& TPrinter::Canvas()
{
    if (!printing_)
        throw EInvalidOperation("Printer is not currently printing");
    return canvas_;
}

int TPrinter::PageWidth() const { return device_ ? device_->width() : 0; }
int TPrinter::PageHeight() const { return device_ ? device_->height() : 0; }

TPrinter* Printer()
{
    static TPrinter printer;
    return &printer;
}

// ---- system printer, or PDF files ---------------------------------------------------------
struct TSystemPrintTarget::PdfJob {
    PdfJob(const String& name, const String& title, const QPageLayout& layout) : fileName(name), writer(&buffer)
    {
        buffer.setBuffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(600);
        writer.setPageLayout(layout);
        writer.setTitle(QString::fromStdString(title));
        writer.setCreator("Ombrelle");
    }
    String fileName;
    QByteArray bytes;
    QBuffer buffer;
    QPdfWriter writer;
};

TSystemPrintTarget::TSystemPrintTarget() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    if (QPrinterInfo::availablePrinters().isEmpty())
        printer_->setOutputFormat(QPrinter::PdfFormat);
}

TSystemPrintTarget::~TSystemPrintTarget() = default;

String TSystemPrintTarget::PdfFolder() const
{
    if (!pdfFolder_.empty())
        return pdfFolder_;
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty())
        docs = QDir::homePath();
    return (docs + "/Ombrelle").toStdString();
}

void TSystemPrintTarget::PrintToPdfIn(const String& folder)
{
    printer_->setOutputFormat(QPrinter::PdfFormat);
    pdfFolder_ = folder;
}

// A job sent to a stopped queue would wait there unseen, and one sent to a printer that has gone would be
// printed by the default one: both are refused before anything is queued.
static void CheckPrinterReady(const QPrinter& p)
{
    const QPrinterInfo info = QPrinterInfo::printerInfo(p.printerName());
    if (info.isNull())
        throw EInvalidOperation("The printer \"" + p.printerName().toStdString() + "\" is not installed");
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
        throw EInvalidOperation("The printer \"" + p.printerName().toStdString() +
                                "\" is stopped: start it again, or choose another printer in Print Setup");
}

QPaintDevice* TSystemPrintTarget::Begin(TPrinterOrientation orientation, const String& title)
{
    QPrinter& p = *printer_;
    const auto pageOrientation = orientation == poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    lastPdf_.clear();
    pdfJob_.reset();
    if (p.outputFormat() == QPrinter::PdfFormat) {
        // A PDF page is the whole sheet, so inches land where the layout says.
        pdfJob_ = std::make_unique<PdfJob>(NextPdfName(), title,
                                           QPageLayout(p.pageLayout().pageSize(), pageOrientation, QMarginsF()));
        return &pdfJob_->writer;
    }
    CheckPrinterReady(p);
    p.setDocName(QString::fromStdString(title));
    p.setPageOrientation(pageOrientation);
    return &p;
}

String TSystemPrintTarget::NextPdfName()
{
    if (!chosenFile_.empty()) {
        // One job writes the chosen file itself; a batch numbers its files after it.
        if (batchJobs_ < 2)
            return chosenFile_;
        QFileInfo chosen(QString::fromStdString(chosenFile_));
        QString suffix = chosen.suffix().isEmpty() ? QString("pdf") : chosen.suffix();
        return (chosen.path() + "/" + chosen.completeBaseName() + QString(" %1.").arg(++batchJob_) + suffix)
            .toStdString();
    }
    QDir().mkpath(QString::fromStdString(PdfFolder()));
    QString base =
        QString::fromStdString(PdfFolder()) + "/Cover " + QDateTime::currentDateTime().toString("yyyy-MM-dd hh.mm.ss");
    QString name = base + ".pdf";
    for (int n = 2; QFile::exists(name); ++n)
        name = base + QString(" (%1).pdf").arg(n);
    return name.toStdString();
}

void TSystemPrintTarget::SetBatch(int jobs)
{
    batchJobs_ = jobs;
    batchJob_ = 0;
}

void TSystemPrintTarget::OfferSetup()
{
    if (printer_->outputFormat() != QPrinter::PdfFormat)
        return;
    // Not the last job's generated name: accepting the dialog unchanged would make it the choice.
    String offered = chosenFile_.empty() ? PdfFolder() + "/Cover.pdf" : chosenFile_;
    printer_->setOutputFileName(QString::fromStdString(offered));
}

void TSystemPrintTarget::TakeSetup()
{
    QPrinter& p = *printer_;
    if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty())
        chosenFile_ = p.outputFileName().toStdString();
    else
        chosenFile_.clear();
}

void TSystemPrintTarget::NewPage()
{
    if (pdfJob_)
        pdfJob_->writer.newPage();
    else
        printer_->newPage();
}

void TSystemPrintTarget::End()
{
    if (!pdfJob_)
        return;
    const std::unique_ptr<PdfJob> job = std::move(pdfJob_);
    // The painter has let go of the writer, so the document is complete; a job that drew nothing
    // still makes a valid file of one blank page.
    if (job->bytes.isEmpty())
        QPainter(&job->writer).end();
    // Raises with the system's reason (no such folder, permission denied, no space left).
    WriteFileAtomically(job->fileName, job->bytes.constData(), static_cast<size_t>(job->bytes.size()));
    lastPdf_ = job->fileName;
}

void TSystemPrintTarget::Abort()
{
    if (pdfJob_)
        pdfJob_.reset();  // nothing of it reached the disk
    else
        printer_->abort();
    lastPdf_.clear();
}

String TSystemPrintTarget::Description() const
{
    if (printer_->outputFormat() != QPrinter::PdfFormat)
        return printer_->printerName().toStdString();
    return chosenFile_.empty() ? "PDF in " + PdfFolder() : "PDF " + chosenFile_;
}

// ---- raster pages --------------------------------------------------------------------------
TRasterPrintTarget::TRasterPrintTarget(int ppiX, int ppiY, double pageWidthInches, double pageHeightInches)
    : ppiX_(ppiX), ppiY_(ppiY), widthIn_(pageWidthInches), heightIn_(pageHeightInches)
{
}

TRasterPrintTarget::~TRasterPrintTarget() = default;

QPaintDevice* TRasterPrintTarget::Begin(TPrinterOrientation orientation, const String&)
{
    double w = orientation == poLandscape ? std::max(widthIn_, heightIn_) : std::min(widthIn_, heightIn_);
    double h = orientation == poLandscape ? std::min(widthIn_, heightIn_) : std::max(widthIn_, heightIn_);
    page_ = std::make_unique<QImage>(static_cast<int>(w * ppiX_), static_cast<int>(h * ppiY_), QImage::Format_RGB32);
    page_->fill(Qt::white);
    page_->setDotsPerMeterX(static_cast<int>(std::lround(ppiX_ / 0.0254)));
    page_->setDotsPerMeterY(static_cast<int>(std::lround(ppiY_ / 0.0254)));
    ++jobs_;
    return page_.get();
}

void TRasterPrintTarget::NewPage()
{
    pages_.push_back(*page_);
    page_->fill(Qt::white);
}

void TRasterPrintTarget::End()
{
    pages_.push_back(*page_);
    page_.reset();
}

void TRasterPrintTarget::Abort()
{
    ++aborted_;
    page_.reset();
}

const std::vector<QImage>& TRasterPrintTarget::Pages() const { return pages_; }

TColor TRasterPrintTarget::PagePixel(int page, int x, int y) const
{
    const QImage& img = pages_.at(page);
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height())
        return -1;
    QRgb c = img.pixel(x, y);
    return RGB(qRed(c), qGreen(c), qBlue(c));
}
