#pragma once
// What the fuzz targets that read files share: an application object for Qt's image readers
// and a private folder for the files they write.
#include <QGuiApplication>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

inline void EnsureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
}

// A folder of this process, made once and left for the system's temporary-file cleaning.
inline const std::string& FuzzFolder()
{
    static const std::string folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "ombrelle-fuzz-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data())) + "/";
    }();
    return folder;
}

inline std::string WriteFuzzFile(const std::string& name, const uint8_t* data, size_t size)
{
    std::string path = FuzzFolder() + name;
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data),
                                                                  static_cast<std::streamsize>(size));
    return path;
}
