#include "core/Rad2FFT.h"

#include "core/Rad2FFTReference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>
#include <vector>

namespace {

CVector RandomVector(int n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    CVector v(n);
    for (TComplex& z : v)
        z = TComplex(dist(gen), dist(gen));
    return v;
}

CVector Transform(int n, const std::vector<TComplex>& values, bool inverse)
{
    Rad2FFT fft(n);
    CVector in(values.data(), n);
    CVector out(n);
    fft.transform(in, out, inverse);
    return out;
}

void ExpectAllNear(const CVector& actual, const std::vector<TComplex>& expected, double tolerance)
{
    ASSERT_EQ(actual.size(), static_cast<int>(expected.size()));
    for (int i = 0; i < actual.size(); ++i) {
        EXPECT_NEAR(actual[i].real(), expected[i].real(), tolerance) << "element " << i;
        EXPECT_NEAR(actual[i].imag(), expected[i].imag(), tolerance) << "element " << i;
    }
}

} // namespace

TEST(Rad2FFT, TablesForEveryLengthInUse)
{
    for (int n = 2, stages = 1; n <= 16384; n *= 2, ++stages) {
        Rad2FFT fft(n);
        EXPECT_EQ(fft.stages(), stages) << n;
        EXPECT_EQ(fft.twiddles().size(), n + 1);
        EXPECT_EQ(fft.twiddles()[0], TComplex(1.0, 0.0));
        // W^(n/4) = -j, W^(n/2) = -1, W^n = 1 within rounding
        const TComplex quarter = fft.twiddles()[n / 4];
        if (n >= 4) {
            EXPECT_NEAR(quarter.real(), 0.0, 1e-14);
            EXPECT_NEAR(quarter.imag(), -1.0, 1e-14);
        }
        EXPECT_NEAR(fft.twiddles()[n / 2].real(), -1.0, 1e-14);
        EXPECT_NEAR(fft.twiddles()[n].real(), 1.0, 1e-14);
        EXPECT_NEAR(fft.twiddles()[n].imag(), 0.0, 1e-14);
    }
    Rad2FFT eight(8);
    std::vector<int> reversed;
    for (int i = 0; i < 8; ++i)
        reversed.push_back(eight.bitReverse(i));
    EXPECT_EQ(reversed, (std::vector<int>{0, 4, 2, 6, 1, 5, 3, 7}));
}

struct KnownTransform {
    const char* name;
    int n;
    std::vector<TComplex> input;
    bool inverse;
    std::vector<TComplex> output;
};

void PrintTo(const KnownTransform& c, std::ostream* os) { *os << c.name; }

class Rad2FFTKnown : public testing::TestWithParam<KnownTransform> {};

TEST_P(Rad2FFTKnown, GivesTheExactTransform)
{
    const KnownTransform& c = GetParam();
    ExpectAllNear(Transform(c.n, c.input, c.inverse), c.output, 1e-14);
}

const TComplex j(0.0, 1.0);
const std::vector<TComplex> kImpulse8{1, 0, 0, 0, 0, 0, 0, 0};
const std::vector<TComplex> kOnes8(8, 1.0);
const std::vector<TComplex> kEightAtZero{8, 0, 0, 0, 0, 0, 0, 0};

INSTANTIATE_TEST_SUITE_P(Cases, Rad2FFTKnown, testing::Values(
    KnownTransform{"ImpulseForward", 8, kImpulse8, false, kOnes8},
    KnownTransform{"ImpulseInverse", 8, kImpulse8, true, kOnes8},
    KnownTransform{"OnesForward", 8, kOnes8, false, kEightAtZero},
    KnownTransform{"OnesInverse", 8, kOnes8, true, kEightAtZero},
    KnownTransform{"SecondElementForward", 4, {0, 1, 0, 0}, false, {1, -j, -1, j}},
    KnownTransform{"SecondElementInverse", 4, {0, 1, 0, 0}, true, {1, j, -1, -j}},
    KnownTransform{"PairLength2", 2, {3, TComplex(1, 2)}, false, {TComplex(4, 2), TComplex(2, -2)}}),
    [](const testing::TestParamInfo<KnownTransform>& info) { return std::string(info.param.name); });

TEST(Rad2FFT, ForwardThenInverseReturnsNTimesTheInput)
{
    const int n = 512;
    const CVector x = RandomVector(n, 1);
    Rad2FFT fft(n);
    CVector spectrum(n);
    CVector back(n);
    fft.transform(x, spectrum, false);
    fft.transform(spectrum, back, true);
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(back[i].real(), n * x[i].real(), 1e-11) << i;
        EXPECT_NEAR(back[i].imag(), n * x[i].imag(), 1e-11) << i;
    }
}

TEST(Rad2FFT, MatchesTheDiscreteFourierSum)
{
    const int n = 64;
    const CVector x = RandomVector(n, 2);
    Rad2FFT fft(n);
    for (const bool inverse : {false, true}) {
        CVector out(n);
        fft.transform(x, out, inverse);
        const double sign = inverse ? 1.0 : -1.0;
        for (int k = 0; k < n; ++k) {
            TComplex sum;
            for (int i = 0; i < n; ++i)
                sum += x[i] * std::polar(1.0, sign * 2.0 * 3.141592653589793 * i * k / n);
            EXPECT_NEAR(out[k].real(), sum.real(), 1e-12) << k;
            EXPECT_NEAR(out[k].imag(), sum.imag(), 1e-12) << k;
        }
    }
}

// Every kernel forms the same products, sums and differences as the four loops per
// group, so the results are equal, not merely close.
class Rad2FFTLengths : public testing::TestWithParam<std::tuple<Rad2FFT::Kernel, int>> {};

TEST_P(Rad2FFTLengths, EqualsTheFourLoopSchemeInBothDirections)
{
    const auto [kernel, n] = GetParam();
    Rad2FFT fft(n);
    fft.selectKernel(kernel);
    Rad2FFTReference reference(n);
    const CVector x = RandomVector(n, static_cast<unsigned>(n));
    for (const bool inverse : {false, true}) {
        CVector expected(n);
        reference.transform(x, expected, inverse);
        CVector actual(n);
        fft.transform(x, actual, inverse);
        for (int i = 0; i < n; ++i)
            ASSERT_EQ(actual[i], expected[i]) << "n " << n << (inverse ? " inverse" : " forward") << ", element " << i;
        // the object keeps no state between transforms
        CVector again(n);
        fft.transform(x, again, inverse);
        EXPECT_FALSE(again.notEqual(actual));
    }
}

INSTANTIATE_TEST_SUITE_P(
    PowersOfTwo, Rad2FFTLengths,
    testing::Combine(testing::Values(Rad2FFT::Kernel::Portable, Rad2FFT::Kernel::Sse2, Rad2FFT::Kernel::Avx,
                                     Rad2FFT::Kernel::Avx512),
                     testing::Values(2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096, 8192, 16384)));

TEST(Rad2FFT, OutputMayBeTheInputAndIsSizedToTheLength)
{
    const int n = 256;
    const CVector x = RandomVector(n, 3);
    Rad2FFT fft(n);
    CVector separate(n);
    fft.transform(x, separate, false);

    CVector inPlace(x);
    fft.transform(inPlace, inPlace, false);
    EXPECT_FALSE(inPlace.notEqual(separate));

    CVector wrongSize(3, 1);
    fft.transform(x, wrongSize, false);
    EXPECT_EQ(wrongSize.size(), n);
    EXPECT_FALSE(wrongSize.notEqual(separate));
}

TEST(Rad2FFT, LengthOneCopiesAndAnEmptyObjectGivesAnEmptyOutput)
{
    Rad2FFT one(1);
    const TComplex value(2, -3);
    CVector in(&value, 1);
    CVector out(1);
    one.transform(in, out, true);
    EXPECT_EQ(out[0], value);

    Rad2FFT none;
    none.transform(in, out, false);
    EXPECT_EQ(out.size(), 0);
}

TEST(Rad2FFT, CreateAgainSwitchesTheLength)
{
    Rad2FFT fft(1024);
    fft.create(8);
    EXPECT_EQ(fft.length(), 8);
    CVector ones(kOnes8.data(), 8);
    CVector out(8);
    fft.transform(ones, out, false);
    ExpectAllNear(out, kEightAtZero, 1e-14);
}
