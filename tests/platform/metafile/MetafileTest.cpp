#include "Graphics.h"
#include "Metafile.h"
#include "MetafileBuilder.h"
#include "TempDir.h"

#include <QImage>
#include <gtest/gtest.h>

#include <fstream>

namespace {

class Metafiles : public ::testing::Test {
protected:
    TempDir dir;

    String Write(const String& name, const std::vector<uint8_t>& bytes)
    {
        String file = dir.File(name);
        std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        return file;
    }

    // The message the picture registry raises for the file, or "" when it loads.
    String LoadError(const String& name, const std::vector<uint8_t>& bytes)
    {
        TPicture picture;
        try {
            picture.LoadFromFile(Write(name, bytes));
        } catch (const EInvalidGraphic& e) {
            return e.Message;
        }
        return "";
    }

    static TColor At(const QImage& image, int x, int y)
    {
        QRgb c = image.pixel(x, y);
        return RGB(qRed(c), qGreen(c), qBlue(c));
    }

    // The drawing of MetafileDrawing: red rectangle, blue line, white paper around them.
    static void ExpectDrawing(const TPicture& picture)
    {
        ASSERT_TRUE(dynamic_cast<TMetafile*>(picture.Graphic()));
        EXPECT_EQ(picture.Width(), 100);
        EXPECT_EQ(picture.Height(), 50);
        const QImage image = picture.Graphic()->ToImage();
        ASSERT_EQ(image.size(), QSize(100, 50));
        EXPECT_EQ(At(image, 35, 25), clRed);
        EXPECT_EQ(At(image, 12, 12), clRed);
        EXPECT_EQ(At(image, 57, 37), clRed);
        EXPECT_EQ(At(image, 80, 25), clBlue);
        EXPECT_EQ(At(image, 80, 10), clBlue);
        EXPECT_EQ(At(image, 5, 5), clWhite);
        EXPECT_EQ(At(image, 35, 45), clWhite);
        EXPECT_EQ(At(image, 70, 25), clWhite);
        EXPECT_EQ(At(image, 92, 25), clWhite);
    }
};

TEST_F(Metafiles, AWindowsMetafileIsDrawnAtItsOwnSize)
{
    TPicture picture;
    picture.LoadFromFile(Write("drawing.wmf", BuildWmf()));
    ExpectDrawing(picture);
    EXPECT_FALSE(static_cast<TMetafile*>(picture.Graphic())->Enhanced());

    // Twice the units per inch is half the size.
    std::vector<uint8_t> fine = BuildWmf();
    fine[14] = 192;
    picture.LoadFromFile(Write("fine.wmf", fine));
    EXPECT_EQ(picture.Width(), 50);
    EXPECT_EQ(picture.Height(), 25);

    // Without a placeable header the picture is what its records draw, rectangle and line.
    picture.LoadFromFile(Write("plain.wmf", BuildWmf({}, false)));
    const QImage plain = picture.Graphic()->ToImage();
    ASSERT_FALSE(plain.isNull());
    int red = 0, blue = 0;
    for (int y = 0; y < plain.height(); ++y)
        for (int x = 0; x < plain.width(); ++x) {
            red += At(plain, x, y) == clRed;
            blue += At(plain, x, y) == clBlue;
        }
    EXPECT_GT(red, plain.width() * plain.height() / 4);
    EXPECT_GT(blue, plain.height());
}

TEST_F(Metafiles, AnEnhancedMetafileIsDrawnAtItsOwnSize)
{
    TPicture picture;
    picture.LoadFromFile(Write("drawing.emf", BuildEmf()));
    ExpectDrawing(picture);
    EXPECT_TRUE(static_cast<TMetafile*>(picture.Graphic())->Enhanced());
}

TEST_F(Metafiles, RecordsThatCannotBeCheckedAreLeftOut)
{
    // A record of a type beyond the format's last, full of counts that would mislead a reader.
    std::vector<uint8_t> emf = BuildEmf();
    const std::vector<uint8_t> odd = {200, 0, 0, 0, 16, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF, 0x7F};
    emf.insert(emf.end() - 20, odd.begin(), odd.end());
    TPicture picture;
    picture.LoadFromFile(Write("odd.emf", emf));
    ExpectDrawing(picture);
}

TEST_F(Metafiles, TheContentDecidesWhichKindOfMetafileItIs)
{
    TPicture picture;
    picture.LoadFromFile(Write("enhanced.wmf", BuildEmf()));
    ExpectDrawing(picture);
}

TEST_F(Metafiles, TheOpenDialogFilterListsThem)
{
    const String filter = TPicture::GraphicFilter();
    EXPECT_NE(filter.find("*.wmf"), String::npos);
    EXPECT_NE(filter.find("*.emf"), String::npos);
    EXPECT_LT(filter.find("*.ico"), filter.find("*.emf"));
    EXPECT_LT(filter.find("*.wmf"), filter.find("*.jpg"));
}

TEST_F(Metafiles, DamagedFilesAreRefusedWithAReason)
{
    const std::vector<uint8_t> wmf = BuildWmf(), emf = BuildEmf();
    EXPECT_EQ(LoadError("text.wmf", {'n', 'o', ' ', 'p', 'i', 'c'}), "Metafile is not valid: no metafile header");
    EXPECT_EQ(LoadError("empty.emf", {}), "Metafile is not valid: no metafile header");
    EXPECT_EQ(LoadError("half.wmf", {wmf.begin(), wmf.begin() + wmf.size() / 2}).rfind("Metafile is not valid: ", 0),
              0u);
    EXPECT_EQ(LoadError("half.emf", {emf.begin(), emf.begin() + emf.size() / 2}).rfind("Metafile is not valid: ", 0),
              0u);
    // A record that claims more than the file holds.
    std::vector<uint8_t> overrun = emf;
    overrun[88 + 4] = 0xF0;
    overrun[88 + 5] = 0xFF;
    EXPECT_EQ(LoadError("overrun.emf", overrun), "Metafile is not valid: a record runs past the end of the file");
    // A description said to lie beyond the header, or of no length (read up to a terminator).
    std::vector<uint8_t> described = emf;
    described[60] = 0x98;
    described[64] = 24;
    EXPECT_EQ(LoadError("described.emf", described), "Metafile is not valid: its description lies outside its header");
    described[60] = 0;
    EXPECT_EQ(LoadError("undescribed.emf", described), "Metafile is not valid: its description lies outside its header");
    std::vector<uint8_t> noUnits = wmf;
    noUnits[14] = 0;
    EXPECT_EQ(LoadError("nounits.wmf", noUnits), "Metafile is not valid: no units per inch");
}

TEST_F(Metafiles, HostileSizesAndRecordCountsAreRefusedBeforeDrawing)
{
    // 32000 units at one unit per inch would be three million pixels across.
    std::vector<uint8_t> wide = BuildWmf();
    wide[10] = 0x00;
    wide[11] = 0x7D;
    wide[14] = 1;
    EXPECT_EQ(LoadError("wide.wmf", wide).rfind("Metafile is too large to draw", 0), 0u);

    std::vector<uint8_t> tall = BuildEmf();
    tall[36] = 0xFF;
    tall[37] = 0xFF;
    tall[38] = 0xFF;
    tall[39] = 0x0F;
    EXPECT_EQ(LoadError("tall.emf", tall).rfind("Metafile is too large to draw", 0), 0u);

    // A header claiming a largest record of gigabytes: nothing is sized by that claim.
    std::vector<uint8_t> claims = BuildWmf();
    for (int i = 0; i < 4; ++i)
        claims[22 + 12 + i] = i == 3 ? 0x7F : 0xFF;
    TPicture picture;
    picture.LoadFromFile(Write("claims.wmf", claims));
    ExpectDrawing(picture);

    // More records than any picture needs, each of them harmless.
    std::vector<uint8_t> many = BuildWmf();
    const std::vector<uint8_t> eof(many.end() - 6, many.end());
    many.resize(many.size() - 6);
    for (int i = 0; i < kMetafileMaxRecords; ++i)
        many.insert(many.end(), {4, 0, 0, 0, 0x2D, 0x01, 0, 0});  // SelectObject 0
    many.insert(many.end(), eof.begin(), eof.end());
    EXPECT_EQ(LoadError("many.wmf", many), "Metafile has too many records to draw");
}

TEST_F(Metafiles, APictureKeepsItsPreviousMetafileWhenTheNextIsRefused)
{
    TPicture picture;
    picture.LoadFromFile(Write("drawing.emf", BuildEmf()));
    EXPECT_THROW(picture.LoadFromFile(Write("broken.emf", {1, 0, 0, 0})), EInvalidGraphic);
    ExpectDrawing(picture);
}

}  // namespace
