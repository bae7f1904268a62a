#include "lh5encoder.h"

#include "lh5blocks.h"

#include <algorithm>
#include <cstring>

namespace lzh {
namespace {

constexpr int kHashBits = 15;
constexpr int kHashSize = 1 << kHashBits;
constexpr int kWindowMask = kDicSize - 1;

class MatchFinder {
public:
    MatchFinder(const std::uint8_t* data, std::size_t size, const Lh5Options& o)
        : d_(data)
        , size_(size)
        , o_(o)
        , head_(kHashSize, -1)
        , prev_(kDicSize, -1) {}

    static unsigned hash(const std::uint8_t* p) {
        const std::uint32_t v = p[0] | (p[1] << 8) | (p[2] << 16);
        return (v * 2654435761u) >> (32 - kHashBits);
    }

    // Needs three bytes at pos.
    void insert(std::size_t pos) {
        const unsigned h = hash(d_ + pos);
        prev_[pos & kWindowMask] = head_[h];
        head_[h] = static_cast<std::int64_t>(pos);
    }

    // Longest match for pos among the earlier positions in the window, at
    // least three bytes; 0 when there is none.
    int find(std::size_t pos, int& distance) const {
        const std::size_t avail = size_ - pos;
        if (avail < kMinMatch) {
            return 0;
        }
        const int maxLen = static_cast<int>(std::min<std::size_t>(avail, kMaxMatch));
        const std::int64_t lowest = static_cast<std::int64_t>(pos) - kDicSize;
        const std::uint8_t* here = d_ + pos;
        int best = kMinMatch - 1;
        int chain = o_.maxChain;
        std::int64_t cand = head_[hash(here)];
        while (cand >= 0 && cand >= lowest && chain-- > 0) {
            const std::uint8_t* there = d_ + cand;
            if (there[best] == here[best] && there[0] == here[0] && there[1] == here[1]) {
                int len = 2;
                while (len < maxLen && there[len] == here[len]) {
                    ++len;
                }
                if (len > best) {
                    best = len;
                    distance = static_cast<int>(static_cast<std::int64_t>(pos) - cand);
                    if (len >= o_.niceLength || len >= maxLen) {
                        break;
                    }
                }
            }
            const std::int64_t next = prev_[cand & kWindowMask];
            if (next >= cand) {
                break; // the slot was reused by a newer position
            }
            cand = next;
        }
        return best >= kMinMatch ? best : 0;
    }

private:
    const std::uint8_t* d_;
    std::size_t size_;
    const Lh5Options& o_;
    std::vector<std::int64_t> head_;
    std::vector<std::int64_t> prev_;
};

} // namespace

std::vector<std::uint8_t> encodeLh5(const std::uint8_t* data, std::size_t size,
                                    const Lh5Options& options) {
    std::vector<std::uint8_t> out;
    out.reserve(size / 2 + 64);
    BlockEncoder blocks(out);
    MatchFinder finder(data, size, options);
    auto insertable = [size](std::size_t p) { return p + kMinMatch <= size; };

    // The match found at the previous position, not yet emitted.
    bool pending = false;
    int pendingLen = 0;
    int pendingDist = 0;
    std::size_t p = 0;
    while (p < size) {
        int dist = 0;
        int len = 0;
        if (!pending || pendingLen < options.lazyBelow) {
            len = finder.find(p, dist);
        }
        if (insertable(p)) {
            finder.insert(p);
        }
        if (pending) {
            if (pendingLen >= kMinMatch && len <= pendingLen) {
                blocks.match(pendingLen, pendingDist);
                const std::size_t end = p - 1 + pendingLen;
                for (std::size_t q = p + 1; q < end; ++q) {
                    if (insertable(q)) {
                        finder.insert(q);
                    }
                }
                p = end;
                pending = false;
                continue;
            }
            blocks.literal(data[p - 1]);
        }
        pending = true;
        pendingLen = len;
        pendingDist = dist;
        ++p;
    }
    if (pending) {
        // Only a position too near the end to start a match is left.
        blocks.literal(data[size - 1]);
    }
    blocks.finish();
    return out;
}

} // namespace lzh
