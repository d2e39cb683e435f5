// The mark-up list box filled one line at a time with search-result lines: with horizontal
// scrolling on (each line measured once as it comes, the extent widened when it is the widest)
// against the same with it off (lines measured when the view first places them), the adds
// alone and the adds with that first layout. x_scroll_off is the price of horizontal scrolling;
// it should not grow with the number of lines.
#include "MarkupList.h"
#include "SideBySide.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

std::vector<String> ResultLines(int count)
{
    std::vector<String> lines;
    for (int i = 0; i < count; ++i) {
        const String n = std::to_string(i);
        lines.push_back("<a href=\"http://www.example.com/covers/" + n + "/front.jpg\">Front cover " + n +
                        "</a> <a href=\"http://www.example.com/covers/" + n + "/back.jpg\">Back cover</a><br>"
                        "<font size=\"7\">The Film Number " + n + " (DVD, region 2)</font><hr>");
    }
    return lines;
}

// With layOut the view then places every line, as before it first shows them: heights
// measured when they are first asked for are measured there.
void Fill(const std::vector<String>& lines, bool scrollHorizontal, bool layOut)
{
    TMarkupListBox box(nullptr);
    box.SetBounds(0, 0, 300, 200);
    box.SetScrollHorizontal(scrollHorizontal);
    for (const String& line : lines)
        box.Items().Add(line);
    if (layOut)
        benchmark::DoNotOptimize(box.ItemRect(box.Count() - 1));
    benchmark::DoNotOptimize(box.ScrollWidth());
}

// Arguments: lines, and 1 to lay them out as well.
void BM_ListBoxAddsWithHorizontalScrolling(benchmark::State& state)
{
    const std::vector<String> lines = ResultLines(static_cast<int>(state.range(0)));
    const bool layOut = state.range(1) != 0;
    bench::Contest(state, {{"scroll_on", [&] { Fill(lines, true, layOut); }},
                           {"scroll_off", [&] { Fill(lines, false, layOut); }}}, true);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListBoxAddsWithHorizontalScrolling)->ArgsProduct({{1000, 4000}, {0, 1}})->UseManualTime()
    ->MinTime(2.0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
