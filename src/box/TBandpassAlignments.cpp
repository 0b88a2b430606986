// The alignment table of the bandpass boxes with two vented chambers (types 3 and 4).

#include "TBandpassBox.h"

namespace {
// Columns: Qts, front (middle) port tuning / fs, rear (side) port tuning / fs,
// front (middle) volume / Vas, rear (side) volume / Vas.
//
// Rows 0, 9, 20, 30, 40, 50, 60 and 74 are the published alignments. The rows between
// them follow the same smooth trends: each column is a monotone piecewise cubic
// (Fritsch-Carlson) through those rows over the row number, taken in the logarithm for
// Qts and the two volumes (which change by orders of magnitude) and linearly for the
// tunings. The Qts column is further pinned at row 1 (1.369, the first step of 0.068),
// row 37 (0.494) and row 73 (0.152, the last step of 0.006), so that its steps shrink
// from the top to the bottom of the table. Values are rounded to three decimals.
constexpr TBandpassBox::TAlignment kAlignments[TBandpassBox::kAlignmentRows] = {
    {1.437f, 1.129f, 0.885f, 8.96f, 14.0f}, // 0
    {1.369f, 1.136f, 0.88f, 8.159f, 13.03f}, // 1
    {1.309f, 1.143f, 0.875f, 7.414f, 12.1f}, // 2
    {1.252f, 1.15f, 0.87f, 6.731f, 11.23f}, // 3
    {1.2f, 1.156f, 0.864f, 6.11f, 10.42f}, // 4
    {1.151f, 1.163f, 0.859f, 5.552f, 9.677f}, // 5
    {1.105f, 1.17f, 0.854f, 5.056f, 9.007f}, // 6
    {1.063f, 1.177f, 0.849f, 4.618f, 8.409f}, // 7
    {1.024f, 1.184f, 0.844f, 4.236f, 7.885f}, // 8
    {0.988f, 1.191f, 0.839f, 3.905f, 7.432f}, // 9
    {0.955f, 1.198f, 0.834f, 3.615f, 7.033f}, // 10
    {0.924f, 1.205f, 0.829f, 3.354f, 6.67f}, // 11
    {0.895f, 1.212f, 0.824f, 3.119f, 6.338f}, // 12
    {0.867f, 1.219f, 0.82f, 2.907f, 6.033f}, // 13
    {0.842f, 1.227f, 0.815f, 2.714f, 5.754f}, // 14
    {0.817f, 1.234f, 0.81f, 2.538f, 5.496f}, // 15
    {0.794f, 1.241f, 0.805f, 2.378f, 5.259f}, // 16
    {0.772f, 1.248f, 0.801f, 2.231f, 5.039f}, // 17
    {0.752f, 1.256f, 0.796f, 2.097f, 4.836f}, // 18
    {0.732f, 1.263f, 0.792f, 1.973f, 4.647f}, // 19
    {0.713f, 1.27f, 0.787f, 1.858f, 4.471f}, // 20
    {0.695f, 1.277f, 0.783f, 1.752f, 4.307f}, // 21
    {0.678f, 1.284f, 0.778f, 1.655f, 4.154f}, // 22
    {0.662f, 1.292f, 0.774f, 1.565f, 4.012f}, // 23
    {0.646f, 1.299f, 0.769f, 1.482f, 3.879f}, // 24
    {0.631f, 1.306f, 0.765f, 1.405f, 3.754f}, // 25
    {0.617f, 1.314f, 0.761f, 1.334f, 3.637f}, // 26
    {0.604f, 1.321f, 0.757f, 1.267f, 3.527f}, // 27
    {0.591f, 1.328f, 0.752f, 1.205f, 3.423f}, // 28
    {0.578f, 1.336f, 0.748f, 1.147f, 3.326f}, // 29
    {0.566f, 1.343f, 0.744f, 1.092f, 3.233f}, // 30
    {0.554f, 1.35f, 0.74f, 1.042f, 3.147f}, // 31
    {0.543f, 1.357f, 0.736f, 0.997f, 3.069f}, // 32
    {0.533f, 1.364f, 0.732f, 0.957f, 2.997f}, // 33
    {0.523f, 1.37f, 0.729f, 0.918f, 2.929f}, // 34
    {0.513f, 1.377f, 0.725f, 0.882f, 2.864f}, // 35
    {0.503f, 1.384f, 0.721f, 0.846f, 2.799f}, // 36
    {0.494f, 1.392f, 0.717f, 0.811f, 2.735f}, // 37
    {0.485f, 1.4f, 0.713f, 0.775f, 2.67f}, // 38
    {0.477f, 1.408f, 0.709f, 0.738f, 2.603f}, // 39
    {0.468f, 1.418f, 0.704f, 0.7f, 2.532f}, // 40
    {0.457f, 1.429f, 0.699f, 0.66f, 2.456f}, // 41
    {0.445f, 1.442f, 0.692f, 0.618f, 2.376f}, // 42
    {0.431f, 1.457f, 0.686f, 0.575f, 2.293f}, // 43
    {0.418f, 1.472f, 0.679f, 0.533f, 2.21f}, // 44
    {0.404f, 1.489f, 0.671f, 0.493f, 2.129f}, // 45
    {0.39f, 1.506f, 0.664f, 0.455f, 2.051f}, // 46
    {0.377f, 1.523f, 0.656f, 0.421f, 1.977f}, // 47
    {0.365f, 1.541f, 0.649f, 0.39f, 1.91f}, // 48
    {0.353f, 1.558f, 0.642f, 0.362f, 1.848f}, // 49
    {0.343f, 1.574f, 0.635f, 0.338f, 1.795f}, // 50
    {0.334f, 1.589f, 0.629f, 0.317f, 1.748f}, // 51
    {0.325f, 1.604f, 0.623f, 0.299f, 1.705f}, // 52
    {0.318f, 1.618f, 0.617f, 0.282f, 1.666f}, // 53
    {0.31f, 1.633f, 0.612f, 0.267f, 1.629f}, // 54
    {0.303f, 1.647f, 0.606f, 0.253f, 1.594f}, // 55
    {0.296f, 1.663f, 0.6f, 0.239f, 1.56f}, // 56
    {0.288f, 1.679f, 0.595f, 0.226f, 1.527f}, // 57
    {0.281f, 1.696f, 0.588f, 0.213f, 1.494f}, // 58
    {0.273f, 1.715f, 0.582f, 0.199f, 1.461f}, // 59
    {0.265f, 1.736f, 0.575f, 0.186f, 1.427f}, // 60
    {0.256f, 1.76f, 0.567f, 0.172f, 1.393f}, // 61
    {0.247f, 1.788f, 0.559f, 0.159f, 1.359f}, // 62
    {0.237f, 1.819f, 0.551f, 0.146f, 1.325f}, // 63
    {0.228f, 1.853f, 0.542f, 0.133f, 1.292f}, // 64
    {0.218f, 1.889f, 0.533f, 0.121f, 1.259f}, // 65
    {0.208f, 1.928f, 0.523f, 0.11f, 1.227f}, // 66
    {0.199f, 1.968f, 0.513f, 0.099f, 1.196f}, // 67
    {0.19f, 2.009f, 0.503f, 0.09f, 1.165f}, // 68
    {0.181f, 2.05f, 0.493f, 0.081f, 1.135f}, // 69
    {0.173f, 2.092f, 0.483f, 0.073f, 1.106f}, // 70
    {0.166f, 2.133f, 0.473f, 0.066f, 1.077f}, // 71
    {0.159f, 2.174f, 0.463f, 0.06f, 1.05f}, // 72
    {0.152f, 2.213f, 0.453f, 0.054f, 1.023f}, // 73
    {0.146f, 2.251f, 0.444f, 0.049f, 0.997f}, // 74
};
} // namespace

const TBandpassBox::TAlignment& TBandpassBox::Alignment(int row)
{
    if (row < 0)
        row = 0;
    if (row >= kAlignmentRows)
        row = kAlignmentRows - 1;
    return kAlignments[row];
}

int TBandpassBox::TableRow(double qts)
{
    if (!(qts < 1.437))
        return 0;
    if (qts > 0.146)
        for (int row = 0; row < kAlignmentRows; ++row)
            if (!(static_cast<double>(kAlignments[row].qts) > qts))
                return row;
    return kAlignmentRows - 1;
}
