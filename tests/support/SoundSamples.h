#pragma once
// Whole sound files as sample vectors, for tests that run audio through the filter.

#include "timedomain/TSoundFile.h"

#include <cstdint>
#include <string>
#include <vector>

// Every sample of the file (interleaved left, right), or none when it cannot be read.
inline std::vector<std::int16_t> ReadSamples(const std::string& path)
{
    TSoundReader r;
    std::vector<std::int16_t> all, part(4096);
    if (!r.Open(path))
        return all;
    while (std::size_t n = r.Read(part.data(), part.size()))
        all.insert(all.end(), part.begin(), part.begin() + static_cast<std::ptrdiff_t>(n));
    return all;
}

// The samples as a file whose kind follows the extension.
inline bool WriteSamples(const std::string& path, const std::vector<std::int16_t>& samples,
                         std::uint32_t rate = 44100)
{
    TSoundWriter w;
    return w.Create(path, rate) && w.Write(samples.data(), samples.size()) && w.Finish();
}
