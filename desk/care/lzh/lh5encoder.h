#pragma once
// The match half of the -lh5- coder: a sliding window of 8 KiB searched
// through hash chains, with lazy matching (a match is put off by one byte
// when the next byte starts a longer one). It feeds the block encoder.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace lzh {

struct Lh5Options {
    int maxChain = 256;   // candidates looked at per position
    int lazyBelow = 64;   // a match this long or longer is taken at once
    int niceLength = 256; // a match this long ends the search
};

// The raw -lh5- stream of data (no archive header).
std::vector<std::uint8_t> encodeLh5(const std::uint8_t* data, std::size_t size,
                                    const Lh5Options& options = {});

} // namespace lzh
