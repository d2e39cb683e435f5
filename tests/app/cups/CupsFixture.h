#pragma once
// The program printing to the system printer, which is the tests' own print scheduler: the PDF
// queues "OmbrellePDF" (the default) and "OmbrelleOther" write into the scheduler's folders "pdf-a" and
// "pdf-b"; "OmbrelleStopped" is stopped.
#include "AppFixture.h"
#include "PrintQueue.h"
#include "WaitFor.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QImage>
#include <QPrinter>
#include <QProcess>
#include <QTimer>

#include <cmath>

// Where the device pixels of a landscape job land on the portrait sheet the queue prints on: the page is
// turned a quarter counter-clockwise, its top edge along the sheet's left edge.
struct TSheet {
    double Ppi = 0;         // device pixels per inch, across and down
    QPointF Offset;         // the printable area's corner on the landscape page, in device pixels
    double HeightPt = 0;    // the sheet's long side

    // The centre of device pixel (x, y), in points from the sheet's top-left corner.
    QPointF At(double x, double y) const
    {
        return {(Offset.y() + y + 0.5) * 72 / Ppi, HeightPt - (Offset.x() + x + 0.5) * 72 / Ppi};
    }
    // One device pixel, in points.
    double Pixel() const { return 72 / Ppi; }
};

class CupsFixture : public AppFixture {
protected:
    QString scheduler;  // the scheduler's folder

    void SetUp() override
    {
        scheduler = OMBRELLE_PRINT_SCHEDULER;
        const QString server = scheduler + "/cups.sock";
        ASSERT_TRUE(QFileInfo::exists(server)) << "no print scheduler listens on " << server.toStdString()
                                               << ": run these tests through ctest, whose fixture starts it";
        qputenv("CUPS_SERVER", server.toUtf8());
    }

    // The program with its layouts, printing to the scheduler's default queue.
    void StartPrinting(const std::vector<TCoverRec>& layouts)
    {
        Start(layouts);
        raster = nullptr;
        Printer()->SetTarget(std::make_unique<TSystemPrintTarget>());
    }

    QPrinter& Device() { return dynamic_cast<TSystemPrintTarget&>(Printer()->Target()).Device(); }

    TSheet Sheet()
    {
        QPrinter& p = Device();
        const QRectF paper = p.paperRect(QPrinter::Point);
        return {double(p.resolution()), p.pageRect(QPrinter::DevicePixel).topLeft(),
                std::max(paper.width(), paper.height())};
    }

    QString Folder(const char* queue) const
    {
        return scheduler + (QString(queue) == "OmbrelleOther" ? "/pdf-b" : "/pdf-a");
    }

    static QStringList Pdfs(const QString& folder)
    {
        QStringList files = QDir(folder).entryList({"*.pdf"}, QDir::Files);
        for (QString& f : files)
            f = folder + "/" + f;
        return files;
    }

    // Runs a command of the program the way a click does: an error it raises is shown, not thrown.
    static void Command(const std::function<void()>& command) { GuardedCall(command); }

    // Waits until the queue has finished `count` jobs more than `before`, and returns their PDF files in job
    // order (the queue labels each file with its job number).
    QStringList WaitForJobs(const char* queue, size_t before, size_t count)
    {
        std::vector<TQueuedJob> jobs;
        const bool done = WaitUntil(
            [&] {
                jobs = QueueJobs(queue);
                return jobs.size() >= before + count &&
                       std::all_of(jobs.begin(), jobs.end(), [](const TQueuedJob& j) { return j.Finished; });
            },
            60000);
        QStringList files;
        if (!done)
            return files;
        for (size_t i = before; i < jobs.size(); ++i)
            for (const QString& f : Pdfs(Folder(queue)))
                if (f.endsWith("-job_" + QString::number(jobs[i].Id) + ".pdf"))
                    files << f;
        return files;
    }

    // The page of a PDF as pdftoppm renders it at dpi; with a crop, only that rectangle of pixels.
    static QImage Render(const QString& pdf, double dpi, QRect crop = {})
    {
        QStringList args{"-png", "-r", QString::number(dpi), "-f", "1", "-l", "1", "-singlefile"};
        if (!crop.isNull())
            args << "-x" << QString::number(crop.x()) << "-y" << QString::number(crop.y()) << "-W"
                 << QString::number(crop.width()) << "-H" << QString::number(crop.height());
        const QString out = QDir::tempPath() + "/ombrelle-render-" + QString::number(QCoreApplication::applicationPid());
        QProcess p;
        p.start("pdftoppm", args << pdf << out);
        if (!p.waitForFinished(60000) || p.exitCode() != 0)
            return {};
        QImage img(out + ".png");
        QFile::remove(out + ".png");
        return img;
    }

    static QString Info(const QString& pdf, const QString& key)
    {
        QProcess p;
        p.start("pdfinfo", {pdf});
        p.waitForFinished(10000);
        for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split('\n'))
            if (line.startsWith(key + ":"))
                return line.mid(key.size() + 1).trimmed();
        return {};
    }

    // The centre, in points, of the dark line crossing the sheet near `at` (points): a column of the sheet
    // when `vertical`, else a row. NaN when there is none.
    static double LineNear(const QString& pdf, const TSheet& sheet, QPointF at, bool vertical)
    {
        const int x0 = int(at.x() / sheet.Pixel()) - 10, y0 = int(at.y() / sheet.Pixel()) - 10;
        const QImage img = Render(pdf, sheet.Ppi, {x0, y0, 21, 21});
        int best = -1, bestCount = 4;
        for (int i = 0; i < 21 && !img.isNull(); ++i) {
            int count = 0;
            for (int j = 0; j < 21; ++j)
                count += qGray(vertical ? img.pixel(i, j) : img.pixel(j, i)) < 100;
            if (count > bestCount) {
                best = i;
                bestCount = count;
            }
        }
        if (best < 0)
            return std::nan("");
        return ((vertical ? x0 : y0) + best + 0.5) * sheet.Pixel();
    }

    // Whether the sheet at a point, in a coarse rendering of the whole page, has a colour: the queue's colour
    // conversion may move each channel by a step or two.
    static ::testing::AssertionResult ColourAt(const QImage& page72, QPointF at, TColor expected)
    {
        const QRgb c = page72.pixel(int(at.x()), int(at.y()));
        const TColor rgb = ColorToRGB(expected);
        if (std::abs(qRed(c) - GetRValue(rgb)) <= 4 && std::abs(qGreen(c) - GetGValue(rgb)) <= 4 &&
            std::abs(qBlue(c) - GetBValue(rgb)) <= 4)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "the sheet is (" << qRed(c) << ", " << qGreen(c) << ", " << qBlue(c)
                                             << ") at " << at.x() << ", " << at.y() << " pt";
    }

    // Checks that the four cut lines of the layout rectangle (device pixels of the landscape page) lie where
    // they should, to one device pixel.
    static void ExpectCutLines(const QString& pdf, const TSheet& sheet, TRect r)
    {
        SCOPED_TRACE(pdf.toStdString());
        const double tolerance = sheet.Pixel();
        // The top and bottom lines run along the page, so they stand upright on the sheet.
        QPointF top = sheet.At(r.Left - 5, r.Top), bottom = sheet.At(r.Right + 5, r.Bottom);
        QPointF left = sheet.At(r.Left, r.Top - 5), right = sheet.At(r.Right, r.Bottom + 5);
        EXPECT_NEAR(LineNear(pdf, sheet, top, true), top.x(), tolerance);
        EXPECT_NEAR(LineNear(pdf, sheet, bottom, true), bottom.x(), tolerance);
        EXPECT_NEAR(LineNear(pdf, sheet, left, false), left.y(), tolerance);
        EXPECT_NEAR(LineNear(pdf, sheet, right, false), right.y(), tolerance);
    }

    // The layout rectangle in device pixels, as the print command computes it.
    static TRect DeviceRect(const TCoverRec& c, int ppi, double left = -1)
    {
        const int x = int(Trunc(ppi * static_cast<long double>(left < 0 ? c.Left : left)));
        const int y = int(Trunc(ppi * static_cast<long double>(c.Top)));
        return {x, y, x + int(Trunc(ppi * static_cast<long double>(c.Width))),
                y + int(Trunc(ppi * static_cast<long double>(c.Height)))};
    }

    // Answers the next printer setup dialog: picks `queue` in its printer list (when given) and presses
    // OK, or Cancel. `listed` receives the names its list offered.
    void AnswerPrinterSetup(const QString& queue, bool accept, QStringList* listed = nullptr)
    {
        dialogs.RealPrinterSetup = true;
        QTimer::singleShot(0, [=] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            for (QComboBox* box : dialog->findChildren<QComboBox*>()) {
                const int index = box->findText(queue);
                if (index < 0)
                    continue;
                if (listed)
                    for (int i = 0; i < box->count(); ++i)
                        *listed << box->itemText(i);
                box->setCurrentIndex(index);
            }
            if (accept)
                dialog->accept();
            else
                dialog->reject();
        });
    }
};
