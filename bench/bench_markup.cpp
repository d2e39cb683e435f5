// Search-result mark-up, 10,000 lines measured and drawn on an image: our renderer against Qt's
// rich-text document laying out and drawing the same content written as HTML, in the same font.
// The two alternate, a pass over all lines each; wall and processor time.
#include "HtmlRender.h"
#include "SideBySide.h"

#include <QAbstractTextDocumentLayout>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {
constexpr int kLines = 10000;
constexpr int kWidth = 400;

std::vector<String> MarkupLines()
{
    std::vector<String> lines;
    for (int i = 0; i < kLines; ++i) {
        String n = std::to_string(i);
        lines.push_back("<a href=\"http://www.example.com/covers/" + n + "/front.jpg\">Front cover " + n +
                        "</a> <a href=\"http://www.example.com/covers/" + n + "/back.jpg\">Back cover</a><br>"
                        "<font size=\"7\">The Film Number " + n + " (DVD, region 2)</font><hr>");
    }
    return lines;
}

// The same content for Qt's document.
std::vector<QString> HtmlLines()
{
    std::vector<QString> lines;
    for (int i = 0; i < kLines; ++i) {
        QString n = QString::number(i);
        lines.push_back("<a href=\"http://www.example.com/covers/" + n + "/front.jpg\">Front cover " + n +
                        "</a> <a href=\"http://www.example.com/covers/" + n + "/back.jpg\">Back cover</a><br>"
                        "<span style=\"font-size:7pt\">The Film Number " + n + " (DVD, region 2)</span><hr>");
    }
    return lines;
}

void BM_MarkupAgainstQTextDocument(benchmark::State& state)
{
    const std::vector<String> lines = MarkupLines();
    const std::vector<QString> html = HtmlLines();
    TBitmap bitmap(kWidth, 80);
    TCanvas& canvas = bitmap.Canvas();
    canvas.Font.SetName("Arial");
    canvas.Font.SetSize(8);
    const TRect area{0, 0, kWidth, 80};
    auto ours = [&] {
        for (const String& line : lines) {
            String anchor, plain, focus;
            int width = 0, height = 0, links = 0, hovered = -1;
            TRect hoveredRect{};
            HtmlDrawText(canvas, line, area, nullptr, -1, -1, -1, -1, 0, false, true, false, false, true, false, true,
                         1.0, clBlue, clNone, clNone, clGray, anchor, plain, focus, width, height, links, hovered,
                         hoveredRect, nullptr, nullptr, 0);
            HtmlDrawText(canvas, line, {0, 0, kWidth, height}, nullptr, -1, -1, -1, -1, 0, false, false, false,
                         false, true, false, true, 1.0, clBlue, clNone, clNone, clGray, anchor, plain, focus, width,
                         height, links, hovered, hoveredRect, nullptr, nullptr, 0);
            benchmark::DoNotOptimize(height);
        }
    };
    QImage image(kWidth, 80, QImage::Format_BGR888);
    QPainter painter(&image);
    QTextDocument document;
    document.setDefaultFont(canvas.Font.ToQFont());  // the font our renderer starts from
    document.setDocumentMargin(0);
    auto qt = [&] {
        for (const QString& line : html) {
            document.setHtml(line);
            document.setTextWidth(kWidth);
            QSizeF size = document.documentLayout()->documentSize();
            document.drawContents(&painter, QRectF(0, 0, kWidth, size.height()));
            benchmark::DoNotOptimize(size);
        }
    };
    bench::Contest(state, {{"ours", ours}, {"qtextdocument", qt}}, true);
    state.SetItemsProcessed(state.iterations() * kLines);
}
BENCHMARK(BM_MarkupAgainstQTextDocument)->UseManualTime()->MinTime(3.0)->Unit(benchmark::kMillisecond);
}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
