// Printing a batch of ten 12-megapixel JPEG covers at 600 pixels per inch to PDF through the
// print command, side by side with a bare QPainter/QPrinter program drawing the same pictures
// into the same rectangles. Eleven rounds: a single one strays by a tenth or more on a shared
// machine, so the ratio of the medians comes with the lowest and highest round's ratio.
#include "Jpeg.h"
#include "PictureFormats.h"
#include "PrintUnit.h"
#include "Printers.h"
#include "Program.h"
#include "SideBySide.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <fstream>

namespace {
constexpr int kCovers = 10;

struct Batch {
    QTemporaryDir dir;
    std::vector<String> files;
    Batch()
    {
        QImage img(4000, 3000, QImage::Format_BGR888);
        for (int y = 0; y < img.height(); ++y) {
            uint8_t* row = img.scanLine(y);
            for (int x = 0; x < img.width() * 3; ++x)
                row[x] = static_cast<uint8_t>((x * 7 + y * 3) ^ (x >> 5));
        }
        std::vector<uint8_t> jpeg = EncodeJpeg(img, 90);
        for (int i = 0; i < kCovers; ++i) {
            String name = dir.path().toStdString() + "/cover" + IntToStr(i) + ".jpg";
            std::ofstream(name, std::ios::binary).write(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
            files.push_back(name);
        }
    }
};

Batch& Files()
{
    static Batch batch;
    return batch;
}

// The layout both programs print: a DVD case cover.
constexpr float kLeft = 0.15f, kTop = 0.3f, kWidth = 10.75f, kHeight = 7.2f;

struct Answers : TDialogService {
    bool OpenFiles(const String&, const String&, const String&, bool, const String&, std::vector<String>& f,
                   TFileDialogSetup&) override
    {
        f = Files().files;
        return true;
    }
    int MessageBox(const String& text, const String&, unsigned) override
    {
        std::fprintf(stderr, "%s\n", text.c_str());
        return IDOK;
    }
};

// The same ten pictures drawn into the same rectangles by a bare QPainter/QPrinter program.
void BareQtPrint(const QString& folder, int& job)
{
    for (const String& file : Files().files) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(folder).filePath(QString("bare%1.pdf").arg(job++)));
        printer.setFullPage(true);
        printer.setResolution(600);
        printer.setPageOrientation(QPageLayout::Landscape);
        QImage img(QString::fromStdString(file));
        QPainter p(&printer);
        QRect r(int(600 * kLeft), int(600 * kTop), int(600 * kWidth), int(600 * kHeight));
        p.drawImage(r, img);
    }
}

// The print command against the bare program, run alternately.
void BM_PrintCommand(benchmark::State& state)
{
    QTemporaryDir home, out, bareOut;
    TCoverRec cover {};
    cover.Left = kLeft;
    cover.Top = kTop;
    cover.Width = kWidth;
    cover.Height = kHeight;
    cover.SetName("DVD Case Cover");
    cover.Style = 1;
    std::ofstream(home.path().toStdString() + "/Settings.ini", std::ios::binary)
        .write(reinterpret_cast<const char*>(&cover), sizeof cover);
    Application()->SetExeName(home.path().toStdString() + "/ombrelle");
    Answers answers;
    SetDialogService(&answers);
    auto target = std::make_unique<TSystemPrintTarget>();
    target->PrintToPdfIn(out.path().toStdString());
    Printer()->SetTarget(std::move(target));
    CreateStartupForms();
    DVDForm->ToolButton3->Click();
    int job = 0;
    bench::SideBySide(
        state, "bare_qt", [&] { DVDForm->ToolButton5->Click(); }, [&] { BareQtPrint(bareOut.path(), job); });
    FreeStartupForms();
    SetDialogService(nullptr);
    state.counters["covers"] = kCovers;
}
}  // namespace

BENCHMARK(BM_PrintCommand)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RegisterPictureFormats();
    Files();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
