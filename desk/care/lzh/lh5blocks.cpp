#include "lh5blocks.h"

#include <algorithm>
#include <array>
#include <bit>
#include <queue>

namespace lzh {
namespace {

// Depth of every used symbol in a Huffman tree over the frequencies.
int treeDepths(const std::uint32_t* freq, int n, std::uint8_t* len) {
    struct Node {
        std::uint64_t weight;
        int index;
    };
    auto heavier = [](const Node& a, const Node& b) {
        return a.weight != b.weight ? a.weight > b.weight : a.index > b.index;
    };
    std::priority_queue<Node, std::vector<Node>, decltype(heavier)> heap(heavier);
    std::vector<int> parent(2 * n, -1);
    for (int i = 0; i < n; ++i) {
        len[i] = 0;
        if (freq[i] > 0) {
            heap.push({freq[i], i});
        }
    }
    int next = n;
    while (heap.size() > 1) {
        const Node a = heap.top();
        heap.pop();
        const Node b = heap.top();
        heap.pop();
        parent[a.index] = next;
        parent[b.index] = next;
        heap.push({a.weight + b.weight, next});
        ++next;
    }
    int deepest = 0;
    for (int i = 0; i < n; ++i) {
        if (freq[i] == 0) {
            continue;
        }
        int d = 0;
        for (int p = parent[i]; p >= 0; p = parent[p]) {
            ++d;
        }
        len[i] = static_cast<std::uint8_t>(std::min(d, 255));
        deepest = std::max(deepest, d);
    }
    return deepest;
}

int bitLength(unsigned v) {
    return v == 0 ? 0 : std::bit_width(v);
}

} // namespace

void huffmanLengths(const std::uint32_t* freq, int n, std::uint8_t* len) {
    std::vector<std::uint32_t> f(freq, freq + n);
    // Flattening the frequencies until the tree fits keeps every used
    // symbol codable; blocks are small enough that this rarely loops.
    while (treeDepths(f.data(), n, len) > kMaxCodeBits) {
        for (std::uint32_t& x : f) {
            if (x > 0) {
                x = (x >> 1) | 1;
            }
        }
    }
}

void canonicalCodes(const std::uint8_t* len, int n, std::uint16_t* code) {
    std::array<unsigned, kMaxCodeBits + 2> count{};
    for (int i = 0; i < n; ++i) {
        ++count[len[i]];
    }
    std::array<unsigned, kMaxCodeBits + 2> start{};
    start[1] = 0;
    for (int i = 1; i <= kMaxCodeBits; ++i) {
        start[i + 1] = (start[i] + count[i]) << 1;
    }
    for (int i = 0; i < n; ++i) {
        code[i] = len[i] ? static_cast<std::uint16_t>(start[len[i]]++) : 0;
    }
}

BlockEncoder::BlockEncoder(std::vector<std::uint8_t>& out)
    : bits_(out) {
    symbols_.reserve(kBlockSymbols);
    positions_.reserve(kBlockSymbols);
}

void BlockEncoder::finish() {
    if (!symbols_.empty()) {
        sendBlock();
    }
    bits_.flush();
}

// Code lengths of the given tree, 3 bits each up to 6 and a unary tail
// beyond; after the symbol `special` a 2-bit count of zero lengths follows.
void BlockEncoder::writeTreeLengths(const std::uint8_t* len, int n, int nbit, int special) {
    while (n > 0 && len[n - 1] == 0) {
        --n;
    }
    bits_.put(nbit, n);
    int i = 0;
    while (i < n) {
        const int k = len[i++];
        if (k <= 6) {
            bits_.put(3, k);
        } else {
            bits_.put(k - 3, (1u << (k - 3)) - 2);
        }
        if (i == special) {
            while (i < 6 && len[i] == 0) {
                ++i;
            }
            bits_.put(2, (i - 3) & 3);
        }
    }
}

namespace {

// The character/length tree's code lengths as symbols of the length tree:
// 0 one zero length, 1 a run of 3 to 18 zeros, 2 a run of 20 or more,
// k + 2 a length k.
template <typename Emit> void walkCodeLengths(const std::uint8_t* cLen, Emit emit) {
    int n = kNC;
    while (n > 0 && cLen[n - 1] == 0) {
        --n;
    }
    int i = 0;
    while (i < n) {
        const int k = cLen[i++];
        if (k != 0) {
            emit(k + 2, -1, 0);
            continue;
        }
        int run = 1;
        while (i < n && cLen[i] == 0) {
            ++i;
            ++run;
        }
        if (run <= 2) {
            for (int r = 0; r < run; ++r) {
                emit(0, -1, 0);
            }
        } else if (run <= 18) {
            emit(1, 4, run - 3);
        } else if (run == 19) {
            emit(0, -1, 0);
            emit(1, 4, 15);
        } else {
            emit(2, kCBit, run - 20);
        }
    }
}

} // namespace

void BlockEncoder::writeCodeLengths(const std::uint8_t* cLen, const std::uint8_t* tLen,
                                    const std::uint16_t* tCode) {
    int n = kNC;
    while (n > 0 && cLen[n - 1] == 0) {
        --n;
    }
    bits_.put(kCBit, n);
    walkCodeLengths(cLen, [&](int sym, int extraBits, int extra) {
        bits_.put(tLen[sym], tCode[sym]);
        if (extraBits > 0) {
            bits_.put(extraBits, extra);
        }
    });
}

void BlockEncoder::sendBlock() {
    std::array<std::uint32_t, kNC> cFreq{};
    std::array<std::uint32_t, kNP> pFreq{};
    for (std::uint16_t s : symbols_) {
        ++cFreq[s];
    }
    for (std::uint16_t p : positions_) {
        ++pFreq[bitLength(p)];
    }
    auto usedSymbols = [](const auto& freq, int& only) {
        int used = 0;
        only = 0;
        for (std::size_t i = 0; i < freq.size(); ++i) {
            if (freq[i]) {
                ++used;
                only = static_cast<int>(i);
            }
        }
        return used;
    };

    bits_.put(16, static_cast<std::uint32_t>(symbols_.size()));

    std::array<std::uint8_t, kNC> cLen{};
    std::array<std::uint16_t, kNC> cCode{};
    int onlyC = 0;
    if (usedSymbols(cFreq, onlyC) >= 2) {
        huffmanLengths(cFreq.data(), kNC, cLen.data());
        canonicalCodes(cLen.data(), kNC, cCode.data());
        std::array<std::uint32_t, kNT> tFreq{};
        walkCodeLengths(cLen.data(), [&](int sym, int, int) { ++tFreq[sym]; });
        std::array<std::uint8_t, kNT> tLen{};
        std::array<std::uint16_t, kNT> tCode{};
        int onlyT = 0;
        if (usedSymbols(tFreq, onlyT) >= 2) {
            huffmanLengths(tFreq.data(), kNT, tLen.data());
            canonicalCodes(tLen.data(), kNT, tCode.data());
            writeTreeLengths(tLen.data(), kNT, kTBit, 3);
        } else {
            // One length symbol: the decoder takes it for every entry without
            // reading bits.
            bits_.put(kTBit, 0);
            bits_.put(kTBit, onlyT);
        }
        writeCodeLengths(cLen.data(), tLen.data(), tCode.data());
    } else {
        bits_.put(kTBit, 0);
        bits_.put(kTBit, 0);
        bits_.put(kCBit, 0);
        bits_.put(kCBit, onlyC);
    }

    std::array<std::uint8_t, kNP> pLen{};
    std::array<std::uint16_t, kNP> pCode{};
    int onlyP = 0;
    if (usedSymbols(pFreq, onlyP) >= 2) {
        huffmanLengths(pFreq.data(), kNP, pLen.data());
        canonicalCodes(pLen.data(), kNP, pCode.data());
        writeTreeLengths(pLen.data(), kNP, kPBit, -1);
    } else {
        bits_.put(kPBit, 0);
        bits_.put(kPBit, onlyP);
    }

    std::size_t m = 0;
    for (std::uint16_t s : symbols_) {
        bits_.put(cLen[s], cCode[s]);
        if (s >= 256) {
            const unsigned p = positions_[m++];
            const int c = bitLength(p);
            bits_.put(pLen[c], pCode[c]);
            if (c > 1) {
                bits_.put(c - 1, p & ((1u << (c - 1)) - 1));
            }
        }
    }
    symbols_.clear();
    positions_.clear();
}

} // namespace lzh
