#include "TSpeakerConnection.h"

namespace TSpeakerConnection {
namespace {

constexpr TDriverConnectionRow kRows[kDriverConnectionCount] = {
    {"Series", 0, {1.0, 1.0, 1.0}},
    {"Parallell", 0, {1.0, 1.0, 1.0}},
    {"2-2", 4, {1.0, 0.5, 1.0}},
    {"2-2-2", 6, {1.5, 1.0 / 3.0, 2.0 / 3.0}},
    {"3-3", 6, {2.0 / 3.0, 0.5, 1.5}},
    {"2-2-2-2", 8, {2.0, 0.25, 0.5}},
    {"4-4", 8, {0.5, 0.5, 2.0}},
    {"3-3-3", 9, {1.0, 1.0 / 3.0, 1.0}},
    {"Sep. sources", 0, {1.0, 1.0, 1.0}},
};

} // namespace

bool IsValidDriverConnection(int index) { return index >= 0 && index < kDriverConnectionCount; }

const TDriverConnectionRow& DriverConnection(int index)
{
    return kRows[IsValidDriverConnection(index) ? index : kSeparateSources];
}

TConnFactors DriverFactors(int index, int n)
{
    double count = n > 0 ? static_cast<double>(n) : 1.0;
    if (index == kSeries)
        return {count, 1.0 / count, 1.0 / count};
    if (index == kParallel)
        return {1.0 / count, 1.0, count};
    return DriverConnection(index).factors;
}

std::vector<int> DriverConnectionList(int n)
{
    std::vector<int> list{kSeries};
    for (int i = 0; i < kDriverConnectionCount; ++i) {
        if (kRows[i].offeredFor != 0 && kRows[i].offeredFor == n)
            list.push_back(i);
    }
    list.push_back(kParallel);
    list.push_back(kSeparateSources);
    return list;
}

TConnFactors PairFactors(int connection)
{
    if (connection == kPairSeries)
        return {2.0, 0.5, 0.5};
    if (connection == kPairParallel)
        return {0.5, 1.0, 2.0};
    return {};
}

} // namespace TSpeakerConnection
