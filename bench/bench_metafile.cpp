// Opening a Windows metafile: its records measured and drawn onto a 1000 x 750 picture, for
// .wmf and .emf files of 35,000 and 350,000 records, side by side with the peers that draw the
// same files (libwmf's wmf2gd, and wmf2svg or emf2svg-conv followed by rsvg-convert). Like for
// like: each side is timed as a whole process that reads the file and writes a 1000 x 750 PNG
// (Ombrelle's is this program run again with --draw); a peer that draws another size gives no
// figure. Then the time and memory it takes to refuse files that ask for gigabytes or for
// minutes of drawing.
#include "Metafile.h"
#include "MetafileBuilder.h"
#include "PictureFormats.h"
#include "SideBySide.h"

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {
const std::string& Folder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "ombrelle-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data())) + "/";
    }();
    return folder;
}

std::string Write(const std::string& name, const std::vector<uint8_t>& bytes)
{
    const std::string path = Folder() + name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

int Lo(uint32_t v) { return int(v & 0xFFFF); }
int Hi(uint32_t v) { return int(v >> 16); }

// A drawing of many small shapes, ten records each: a pen and a brush made, chosen and dropped,
// a filled polygon, an open polyline, a rectangle, an ellipse, and now and then a line of text.
std::vector<uint8_t> Drawing(int records, bool enhanced)
{
    const int shapes = records / 10;
    std::vector<WmfRecord> wmf = {{0x0103, {8}}, {0x020C, {750, 1000}}, {0x02FB, {-14, 0, 0, 0, 400, 0, 0, 0, 0, 'A' | 'r' << 8, 'i' | 'a' << 8, 'l'}},
                                  {0x012D, {0}}, {0x0102, {1}}};
    std::vector<EmfRecord> emf = {{82, {1, uint32_t(-14), 0, 0, 0, 400, 0, 0, 'A' | 'r' << 16, 'i' | 'a' << 16, 'l'}},
                                  {37, {1}}, {18, {1}}};
    for (int i = 0; i < shapes; ++i) {
        const int x = (i * 37) % 960, y = (i * 53) % 710;
        const uint32_t pen = uint32_t(i * 2654435761u) & 0xFFFFFF, brush = (pen * 7) & 0xFFFFFF;
        const std::vector<int> polygon = {x, y, x + 30, y + 5, x + 40, y + 25, x + 20, y + 40, x + 2, y + 30, x + 10, y + 15};
        const std::vector<int> line = {x, y + 40, x + 15, y + 20, x + 30, y + 38, x + 40, y + 2};
        if (!enhanced) {
            wmf.push_back({0x02FA, {0, 1, 0, Lo(pen), Hi(pen)}});
            wmf.push_back({0x012D, {1}});
            wmf.push_back({0x02FC, {0, Lo(brush), Hi(brush), 0}});
            wmf.push_back({0x012D, {2}});
            WmfRecord poly{0x0324, {6}};
            poly.Words.insert(poly.Words.end(), polygon.begin(), polygon.end());
            wmf.push_back(poly);
            WmfRecord open{0x0325, {4}};
            open.Words.insert(open.Words.end(), line.begin(), line.end());
            wmf.push_back(open);
            wmf.push_back({0x041B, {y + 30, x + 35, y + 10, x + 5}});
            wmf.push_back({0x0418, {y + 38, x + 28, y + 22, x + 12}});
            wmf.push_back(i % 10 ? WmfRecord{0x01F0, {1}} : WmfRecord{0x0521, {4, 'S' | 'h' << 8, 'a' | 'p' << 8, y, x}});
            wmf.push_back({0x01F0, {2}});
            if (i % 10 == 0)
                wmf.push_back({0x01F0, {1}});
        } else {
            auto points = [](uint32_t type, const std::vector<int>& xy) {
                EmfRecord r{type, {0, 0, 1000, 750, uint32_t(xy.size() / 2)}};
                for (size_t k = 0; k < xy.size(); k += 2)
                    r.Fields.push_back(uint32_t(xy[k] & 0xFFFF) | uint32_t(xy[k + 1]) << 16);
                return r;
            };
            emf.push_back({38, {2, 0, 1, 0, pen}});
            emf.push_back({37, {2}});
            emf.push_back({39, {3, 0, brush, 0}});
            emf.push_back({37, {3}});
            emf.push_back(points(86, polygon));
            emf.push_back(points(87, line));
            emf.push_back({43, {uint32_t(x + 5), uint32_t(y + 10), uint32_t(x + 35), uint32_t(y + 30)}});
            emf.push_back({42, {uint32_t(x + 12), uint32_t(y + 22), uint32_t(x + 28), uint32_t(y + 38)}});
            if (i % 10 == 0)
                emf.push_back({84, {0, 0, 1000, 750, 1, 0, 0, uint32_t(x), uint32_t(y), 4, 76, 0, 0, 0, 0, 0, 0, 'S' | 'h' << 16, 'a' | 'p' << 16}});
            else
                emf.push_back({37, {0x80000007}});  // the black pen, so the made one can go
            emf.push_back({40, {2}});
        }
    }
    return enhanced ? EmfFile(emf, 1000, 750) : WmfFile(wmf, WmfFrame{0, 0, 1000, 750, 96}, 8);
}

std::vector<uint8_t> Bomb(int kind)
{
    if (kind == 0) {
        // Bitmap records whose header claims 65535 x 65535 pixels at 24 bits.
        std::vector<int> dib = {40, 0, 0xFFFF, 0, 0xFFFF, 0, 1, 24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        WmfRecord r{0x0F43, {0x0020, 0x00CC, 0, 1, 1, 0, 0, 50, 100, 0, 0}};
        r.Words.insert(r.Words.end(), dib.begin(), dib.end());
        return WmfFile({r, r});
    }
    // A million fills of the whole picture: minutes of drawing. The one record is copied in place,
    // so that the peak memory is not the bench's own.
    const std::vector<uint8_t> one = WmfFile({{0x041B, {750, 1000, 0, 0}}}, WmfFrame{0, 0, 1000, 750, 96});
    const auto fill = one.end() - 6 - 14, eof = one.end() - 6;
    std::vector<uint8_t> file(one.begin(), fill);
    file.reserve(one.size() + 14 * 999999);
    for (int i = 0; i < 1000000; ++i)
        file.insert(file.end(), fill, eof);
    file.insert(file.end(), eof, one.end());
    return file;
}

void RefuseBomb(benchmark::State& state)
{
    const std::vector<uint8_t> bytes = Bomb(int(state.range(0)));
    const std::string file = Write("bomb" + std::to_string(state.range(0)) + ".wmf", bytes);
    for (auto _ : state) {
        TPicture picture;
        try {
            picture.LoadFromFile(file);
            state.SkipWithError("the bomb was drawn");
        } catch (const EInvalidGraphic& e) {
            state.SetLabel(e.Message.substr(e.Message.find(file) + file.size() + 2));
        }
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["file_bytes"] = double(bytes.size());
    state.counters["peak_rss_mb"] = double(usage.ru_maxrss) / 1024;
}
BENCHMARK(RefuseBomb)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(5);
// Before the drawings, so that the peak memory is the bombs'.
bool Installed(const char* tool) { return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0; }

bool Runs(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

void Run(const std::string& command)
{
    if (!Runs(command))
        std::abort();
}

constexpr int kDrawnWidth = 1000, kDrawnHeight = 750;

// Ombrelle's side as a process of its own: the metafile opened as the program opens a picture,
// and the picture written as a PNG.
int DrawToPng(const char* metafile, const char* png)
{
    TPicture picture;
    picture.LoadFromFile(metafile);
    return picture.Graphic()->ToImage().save(png, "PNG") ? 0 : 1;
}

// Empty when the command wrote a PNG of the drawn size; else what it did instead.
std::string DrawnSizeFault(const std::string& command, const std::string& png)
{
    std::filesystem::remove(png);
    if (!Runs(command))
        return "failed: " + command;
    const QSize size = QImageReader(QString::fromStdString(png)).size();
    if (size != QSize(kDrawnWidth, kDrawnHeight))
        return "drew " + std::to_string(size.width()) + " x " + std::to_string(size.height()) + ", not 1000 x 750: " + command;
    return {};
}

// args: records, 0 for .wmf / 1 for .emf, the peer (0: wmf2gd, 1: an SVG converter and rsvg-convert)
void OpenDrawing(benchmark::State& state)
{
    const int records = int(state.range(0));
    const bool enhanced = state.range(1);
    const std::string file = Write("drawing" + std::to_string(records) + (enhanced ? ".emf" : ".wmf"), Drawing(records, enhanced));
    const std::string png = Folder() + "peer.png", svg = Folder() + "peer.svg", ourPng = Folder() + "ours.png";
    const std::string size = " -w " + std::to_string(kDrawnWidth) + " -h " + std::to_string(kDrawnHeight);
    std::string peer;
    if (enhanced)
        peer = "emf2svg-conv -i " + file + " -o " + svg + " && rsvg-convert" + size + " -o " + png + " " + svg;
    else if (state.range(2) == 0)
        peer = "wmf2gd -t png --maxwidth=" + std::to_string(kDrawnWidth) + " --maxheight=" + std::to_string(kDrawnHeight) +
               " -o " + png + " " + file;
    else
        peer = "wmf2svg -o " + svg + " " + file + " && rsvg-convert" + size + " -o " + png + " " + svg;
    const std::string ours = "'" + QCoreApplication::applicationFilePath().toStdString() + "' --draw " + file + " " + ourPng;
    const bool throughSvg = enhanced || state.range(2) != 0;
    const bool peerInstalled = Installed(enhanced ? "emf2svg-conv" : throughSvg ? "wmf2svg" : "wmf2gd") &&
                               (!throughSvg || Installed("rsvg-convert"));
    std::vector<std::pair<std::string, std::string>> sides = {{ours, ourPng}};
    if (peerInstalled)
        sides.push_back({peer, png});
    for (const auto& [command, output] : sides)
        if (const std::string fault = DrawnSizeFault(command, output); !fault.empty()) {
            state.SkipWithError(fault.c_str());
            return;
        }
    if (peerInstalled) {
        bench::SideBySide(state, "ours/peer", [&] { Run(ours); }, [&] { Run(peer); });
        return;
    }
    state.SetLabel("no peer: apt-get install libwmf-bin emf2svg librsvg2-bin");
    bench::Contest(state, {{"subject", [&] { Run(ours); }}});
}
BENCHMARK(OpenDrawing)
    ->ArgsProduct({{35000, 350000}, {0}, {0, 1}})
    ->ArgsProduct({{35000, 350000}, {1}, {1}})
    ->Unit(benchmark::kMillisecond)
    ->UseManualTime()
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);  // fonts for the text records
    RegisterPictureFormats();
    if (argc == 4 && std::string(argv[1]) == "--draw")
        return DrawToPng(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(Folder());
    return 0;
}
