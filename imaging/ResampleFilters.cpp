// The reconstruction filters. Each takes and returns a single-precision value but computes in
// extended precision, so the weights come out the same on every build.
#include "resample.h"

#include <cmath>

namespace {
using Ext = long double;
constexpr Ext kPi = 3.141592653589793238462643383279502884L;

// Sine in extended precision, the definition of the filters' sine: the processor's own
// instruction where there is one, else the library's.
inline Ext SinExtended(Ext y)
{
#if defined(__x86_64__) || defined(__i386__)
    Ext result;
    __asm__("fsin" : "=t"(result) : "0"(y));
    return result;
#else
    return std::sin(y);
#endif
}
}  // namespace

// sin(y) / y in double precision lies within a few units of its last bit of the true quotient,
// and the extended one as near, but for the error of the extended sine's own pi, which grows
// with y. Both round to the same single-precision value unless the quotient lies within those
// errors of a half-way point between two such values: only then is it computed the extended way.
float Sinc(float Value)
{
    if (Value == 0)
        return 1;
    const float y = static_cast<float>(kPi * Value);
    const double s = std::sin(static_cast<double>(y));
    const double q = s / y;
    const float nearest = static_cast<float>(q);
    const float beyond = std::nextafter(nearest, q > nearest ? 2.0f : -2.0f);
    const double halfWay = (static_cast<double>(nearest) + beyond) / 2;
    // The extended sine's pi is off by less than 2^-65, once for every half turn in y.
    const double error = std::ldexp(1.0, -62) + (std::fabs(s) / std::fabs(static_cast<double>(y)) + std::fabs(q)) * std::ldexp(1.0, -50);
    if (std::fabs(q - halfWay) > error)
        return nearest;
    return static_cast<float>(SinExtended(y) / y);
}

float HermiteFilter(float Value)
{
    const Ext t = std::fabs(Value);
    if (t < 1)
        return static_cast<float>((2 * t - 3) * (t * t) + 1);
    return 0;
}

float BoxFilter(float Value)
{
    // Closed on the right only, so that neighbouring samples never both take a pixel.
    return Value > -0.5f && Value <= 0.5f ? 1.0f : 0.0f;
}

float TriangleFilter(float Value)
{
    const Ext t = std::fabs(Value);
    return t < 1 ? static_cast<float>(1 - t) : 0.0f;
}

float BellFilter(float Value)
{
    const Ext t = std::fabs(Value);
    if (t < 0.5L)
        return static_cast<float>(0.75L - t * t);
    if (t < 1.5L) {
        const Ext u = t - 1.5L;
        return static_cast<float>(0.5L * (u * u));
    }
    return 0;
}

float SplineFilter(float Value)
{
    const Ext t = std::fabs(Value);
    if (t < 1) {
        const Ext tt = static_cast<float>(t * t);
        return static_cast<float>(0.5L * tt * t - tt + 2.0L / 3.0L);
    }
    if (t < 2) {
        const Ext u = 2 - t;
        return static_cast<float>(u * u * u / 6);
    }
    return 0;
}

float Lanczos3Filter(float Value)
{
    const Ext t = std::fabs(Value);
    if (t < 3)
        return static_cast<float>(static_cast<Ext>(Sinc(static_cast<float>(t))) * Sinc(static_cast<float>(t / 3)));
    return 0;
}

float MitchellFilter(float Value)
{
    const Ext t = std::fabs(Value);
    const Ext tt = static_cast<float>(t * t);
    // Products are formed left to right: grouping t * tt first changes the last bit near 2.
    if (t < 1)
        return static_cast<float>((7 * t * tt - 12 * tt + 16.0L / 3.0L) / 6);
    if (t < 2)
        return static_cast<float>((-7.0L / 3.0L * t * tt + 12 * tt - 20 * t + 32.0L / 3.0L) / 6);
    return 0;
}

const std::array<TFilterEntry, 7> ResampleFilters = {{
    {"Box", BoxFilter, 0.5f},
    {"Triangle", TriangleFilter, 1.0f},
    {"Hermite", HermiteFilter, 1.0f},
    {"Bell", BellFilter, 1.5f},
    {"B-Spline", SplineFilter, 2.0f},
    {"Lanczos3", Lanczos3Filter, 3.0f},
    {"Mitchell", MitchellFilter, 2.0f},
}};
