#pragma once
// The printer object: landscape or portrait jobs drawn on a canvas at the device's resolution.
#include "Graphics.h"

#include <QImage>

#include <memory>
#include <vector>

class QPaintDevice;
class QPrinter;

enum TPrinterOrientation { poPortrait, poLandscape };

// Where printed pages go.
class TPrintTarget {
public:
    virtual ~TPrintTarget() = default;
    // Opens a job; the device stays valid until End or Abort.
    virtual QPaintDevice* Begin(TPrinterOrientation orientation, const String& title) = 0;
    virtual void NewPage() = 0;
    virtual void End() = 0;
    virtual void Abort() = 0;
    virtual String Description() const = 0;
    // The file the last finished job was written to; empty when it went to a printer.
    virtual String OutputFile() const { return {}; }
    // The next jobs belong to one print command of this many jobs (0 ends it).
    virtual void SetBatch(int jobs) {}
};

class TPrinter {
public:
    TPrinter();
    ~TPrinter();
    TPrinterOrientation Orientation() const { return orientation_; }
    // Raises "Printing in progress" while a job is open.
    void SetOrientation(TPrinterOrientation o);
    String Title = "Ombrelle";
    void BeginDoc();
    void NewPage();
    void EndDoc();
    void Abort();
    bool Printing() const { return printing_; }
    bool Aborted() const { return aborted_; }
    TCanvas& Canvas();
    int PageWidth() const;
    int PageHeight() const;

    // The file the last finished job went to, empty for a printer.
    String OutputFile() const { return target_->OutputFile(); }
    // Jobs begun between these calls are one print command's; jobs written to a chosen file
    // are then numbered so that none overwrites another.
    void BeginBatch(int jobs) { target_->SetBatch(jobs); }
    void EndBatch() { target_->SetBatch(0); }

    TPrintTarget& Target() { return *target_; }
    void SetTarget(std::unique_ptr<TPrintTarget> target);

private:
    std::unique_ptr<TPrintTarget> target_;
    TCanvas canvas_;
    QPaintDevice* device_ = nullptr;
    TPrinterOrientation orientation_ = poPortrait;
    bool printing_ = false;
    bool aborted_ = false;
};

// The program's current printer.
TPrinter* Printer();

// The system printer through CUPS; with no printer installed, each job becomes a PDF file.
class TSystemPrintTarget : public TPrintTarget {
public:
    TSystemPrintTarget();
    ~TSystemPrintTarget() override;
    QPaintDevice* Begin(TPrinterOrientation orientation, const String& title) override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    String Description() const override;
    String OutputFile() const override { return lastPdf_; }
    void SetBatch(int jobs) override;
    QPrinter& Device() { return *printer_; }
    // The folder PDF jobs go to when no printer is installed (the documents folder's "Ombrelle").
    String PdfFolder() const;
    // Sends the jobs to PDF files in a folder of the caller's choosing.
    void PrintToPdfIn(const String& folder);
    // The file chosen in Print Setup; empty when the jobs go to a printer or to PdfFolder.
    String ChosenFile() const { return chosenFile_; }
    // Puts the current choice on the device for the setup dialog to show.
    void OfferSetup();
    // Takes the printer or file the setup dialog left on the device for the jobs that follow.
    void TakeSetup();

private:
    // A PDF job: drawn into memory and written whole at its end, so that a file that cannot be
    // written says why and leaves nothing half-written behind.
    struct PdfJob;
    String NextPdfName();
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<PdfJob> pdfJob_;
    String pdfFolder_;
    String chosenFile_;
    String lastPdf_;
    int batchJobs_ = 0;
    int batchJob_ = 0;
};

// A page image at any resolution across and down, for tests: it keeps every finished page.
class TRasterPrintTarget : public TPrintTarget {
public:
    TRasterPrintTarget(int ppiX, int ppiY, double pageWidthInches = 11.0, double pageHeightInches = 8.5);
    ~TRasterPrintTarget() override;
    QPaintDevice* Begin(TPrinterOrientation orientation, const String& title) override;
    void NewPage() override;
    void End() override;
    void Abort() override;
    String Description() const override { return "Raster"; }
    int Jobs() const { return jobs_; }
    int AbortedJobs() const { return aborted_; }
    // Pages of finished jobs, oldest first.
    const std::vector<QImage>& Pages() const;
    TColor PagePixel(int page, int x, int y) const;

private:
    int ppiX_, ppiY_;
    double widthIn_, heightIn_;
    std::unique_ptr<QImage> page_;
    std::vector<QImage> pages_;
    int jobs_ = 0;
    int aborted_ = 0;
};
