// A catalogue reply of 2,000 titles with 5 covers each: parsing alone, then parsing, binding
// and building the result lines, then all of that and listing the lines in the HTML list box
// (each item measured once by the mark-up renderer), to see where the time of a search goes.
#include "CoverReply.h"
#include "MarkupList.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

std::string BigReply()
{
    std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rsp stat=\"ok\">\n";
    for (int i = 0; i < 2000; ++i) {
        xml += "<title><name>Title number " + std::to_string(i) + " &amp; more</name><id>" + std::to_string(i) +
               "</id><added>1/2/07  10:30</added><uploader>user" + std::to_string(i % 97) +
               "</uploader><category>DVD Movie</category><image>http://covers.example.test/t/" + std::to_string(i) +
               ".jpg</image><covers>";
        for (const char* type : {"Front", "Back", "Inside", "CD", "Full"})
            xml += std::string("<cover><type>") + type + "</type><width>1600</width><height>1080</height>"
                   "<filesize>345678</filesize><url>http://covers.example.test/c/" + std::to_string(i) + "/" + type +
                   ".jpg</url><thumbnail>http://covers.example.test/th/" + std::to_string(i) +
                   ".jpg</thumbnail><preview>http://covers.example.test/p/" + std::to_string(i) + ".jpg</preview></cover>";
        xml += "</covers></title>\n";
    }
    return xml + "</rsp>\n";
}

const std::string& Reply()
{
    static const std::string reply = BigReply();
    return reply;
}

void BM_ParseOnly(benchmark::State& state)
{
    for (auto _ : state) {
        TXMLDocument document;
        document.LoadFromXML(Reply());
        benchmark::DoNotOptimize(document.DocumentElement());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Reply().size()));
}
BENCHMARK(BM_ParseOnly)->Unit(benchmark::kMillisecond);

void BM_ReplyLines(benchmark::State& state)
{
    for (auto _ : state) {
        size_t total = 0;
        ReplyLines(Reply(), [&](const String& line) { total += line.size(); });
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * Reply().size()));
}
BENCHMARK(BM_ReplyLines)->Unit(benchmark::kMillisecond);

void BM_ReplyListed(benchmark::State& state)
{
    TMarkupListBox list(nullptr);
    list.SetBounds(0, 0, 309, 330);
    for (auto _ : state) {
        list.Clear();
        list.BeginUpdate();
        ReplyLines(Reply(), [&](const String& line) { list.Items().Add(line); });
        list.EndUpdate();
        // Laying the items out measures every one of them.
        benchmark::DoNotOptimize(list.ItemRect(list.Count() - 1));
    }
}
BENCHMARK(BM_ReplyListed)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
