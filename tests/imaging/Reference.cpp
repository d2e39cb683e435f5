#include "Reference.h"

#include <cmath>
#include <stdexcept>

using Ext = long double;

Picture RefFlipReverse(bool flip, bool reverse, const Picture& src)
{
    Picture dst(src.W, src.H);
    for (int y = 0; y < src.H; ++y)
        for (int x = 0; x < src.W; ++x)
            dst.SetPixel(x, flip ? src.H - 1 - y : y, src.Pixel(reverse ? src.W - 1 - x : x, y));
    return dst;
}

Picture RefRotate(int angle, const Picture& src)
{
    const int w = src.W, h = src.H;
    switch ((angle / 90) % 4) {
    case 1: {
        Picture dst(h, w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dst.SetPixel(y, w - 1 - x, src.Pixel(x, y));
        return dst;
    }
    case 2: {
        Picture dst(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dst.SetPixel(w - 1 - x, h - 1 - y, src.Pixel(x, y));
        return dst;
    }
    case 3: {
        Picture dst(h, w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                dst.SetPixel(h - 1 - y, x, src.Pixel(x, y));
        return dst;
    }
    default:
        return src;
    }
}

Picture RefDiagonalMerge(const Picture& a, const Picture& b)
{
    Picture dst(a.W, a.H);
    double step = static_cast<double>(a.W) / a.H;
    double split = 0.0;
    for (int y = 0; y < a.H; ++y) {
        int x0 = static_cast<int>(std::trunc(split));
        for (int x = 0; x < a.W; ++x)
            dst.SetPixel(x, y, x < x0 ? b.Pixel(x, y) : a.Pixel(x, y));
        split = split + step;
    }
    return dst;
}

Picture RefSharpen(const Picture& src, float alpha, bool inPlace)
{
    const uint32_t ib = static_cast<uint32_t>(std::nearbyintl(static_cast<Ext>(static_cast<float>((static_cast<Ext>(alpha) - 1) / 5)) * 65536));
    const uint32_t ia = static_cast<uint32_t>(std::nearbyintl(static_cast<Ext>(alpha) * 65536));
    Picture dst = src;
    Picture copy = src;
    const Picture& from = inPlace ? dst : copy;  // in place, every read sees what was written
    for (int y = 1; y < src.H - 1; ++y)
        for (int x = 1; x < src.W - 1; ++x)
            for (int ch = 0; ch < 3; ++ch) {
                uint32_t centre = from.At(x, y, ch);
                uint32_t sum = from.At(x, y - 1, ch) + from.At(x - 1, y, ch) + centre + from.At(x + 1, y, ch) +
                               from.At(x, y + 1, ch);
                int value = static_cast<int>((centre * ia + 32767) >> 16) - static_cast<int>((ib * sum + 32767) >> 16);
                dst.At(x, y, ch) = static_cast<uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
            }
    return dst;
}

Picture RefAntiAlias(const Picture& src, int percent)
{
    Picture p = src;
    const int w = p.W, h = p.H;
    const Ext divisor = static_cast<Ext>(static_cast<int64_t>(percent) + 50);
    for (int y = 0; y < h; ++y)
        for (int x = 1; x < w; ++x) {
            const Rgb c = p.Pixel(x, y);
            const int nx[4] = {x - 1, x == w - 1 ? 0 : x + 1, x, x};
            const int ny[4] = {y, y, y == 0 ? h - 1 : y - 1, y == h - 1 ? 0 : y + 1};
            for (int k = 0; k < 4; ++k) {
                Rgb n = p.Pixel(nx[k], ny[k]);
                if (n == c)
                    continue;
                const int cc[3] = {c.B, c.G, c.R};
                int nn[3] = {n.B, n.G, n.R};
                for (int ch = 0; ch < 3; ++ch) {
                    Ext v = std::nearbyintl(cc[ch] + static_cast<Ext>((nn[ch] - cc[ch]) * 50) / divisor);
                    nn[ch] = v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
                }
                p.SetPixel(nx[k], ny[k], {static_cast<uint8_t>(nn[0]), static_cast<uint8_t>(nn[1]), static_cast<uint8_t>(nn[2])});
            }
        }
    return p;
}

namespace {

std::vector<std::vector<TContributor>> RefContributors(int n, int dstSize, TFilterProc filter, float support)
{
    const float scale = (n == 1 || dstSize == 1) ? static_cast<float>(static_cast<Ext>(dstSize) / n)
                                                 : static_cast<float>(static_cast<Ext>(dstSize - 1) / (n - 1));
    std::vector<std::vector<TContributor>> lists(dstSize);
    for (int i = 0; i < dstSize; ++i) {
        float width, fscale = 1, centre = static_cast<float>(i / static_cast<Ext>(scale));
        if (scale >= 1) {
            width = support;
        } else {
            width = static_cast<float>(support / static_cast<Ext>(scale));
            fscale = static_cast<float>(1 / static_cast<Ext>(scale));
        }
        for (long j = static_cast<long>(std::floor(centre - static_cast<Ext>(width)));
             j <= static_cast<long>(std::ceil(centre + static_cast<Ext>(width))); ++j) {
            float weight;
            if (scale >= 1)
                weight = filter(static_cast<float>(centre - static_cast<Ext>(j)));
            else
                weight = static_cast<float>(filter(static_cast<float>((centre - static_cast<Ext>(j)) / fscale)) / static_cast<Ext>(fscale));
            if (weight == 0)
                continue;
            long k = j;
            if (k < 0)
                k = -k;
            else if (k > n - 1)
                k = 2L * n - k - 1;
            if (k < 0)
                k = 0;
            if (k > n - 1)
                k = n - 1;
            lists[i].push_back({static_cast<int32_t>(k), weight});
        }
    }
    return lists;
}

uint8_t RefClampRound(float sum)
{
    if (sum > 255)
        return 255;
    if (sum < 0)
        return 0;
    return static_cast<uint8_t>(std::nearbyintl(sum));
}

}  // namespace

Picture RefStretch(const Picture& src, int dw, int dh, TFilterProc filter, float support)
{
    if (src.W < 1 || src.H < 1)
        throw std::invalid_argument("Source bitmap too small");
    Picture work(dw, src.H);
    auto across = RefContributors(src.W, dw, filter, support);
    for (int k = 0; k < src.H; ++k)
        for (int i = 0; i < dw; ++i)
            for (int ch = 0; ch < 3; ++ch) {
                float sum = 0;
                for (const TContributor& c : across[i])
                    sum = static_cast<float>(sum + static_cast<Ext>(src.At(c.Pixel, k, ch)) * c.Weight);
                work.At(i, k, ch) = RefClampRound(sum);
            }
    Picture dst(dw, dh);
    auto down = RefContributors(src.H, dh, filter, support);
    for (int k = 0; k < dw; ++k)
        for (int i = 0; i < dh; ++i)
            for (int ch = 0; ch < 3; ++ch) {
                float sum = 0;
                for (const TContributor& c : down[i])
                    sum = static_cast<float>(sum + static_cast<Ext>(work.At(k, c.Pixel, ch)) * c.Weight);
                dst.At(k, i, ch) = RefClampRound(sum);
            }
    return dst;
}

float RefSinc(float x)
{
    if (x == 0)
        return 1;
    const float y = static_cast<float>(3.141592653589793238462643383279502884L * x);
    Ext sine;
#if defined(__x86_64__) || defined(__i386__)
    __asm__("fsin" : "=t"(sine) : "0"(static_cast<Ext>(y)));
#else
    sine = std::sin(static_cast<Ext>(y));
#endif
    return static_cast<float>(sine / y);
}
