#include "import/lzh_encode.h"

#include <algorithm>
#include <array>
#include <queue>
#include <vector>

namespace zm {

namespace {

// ---------------------------------------------------------------------------------------------
// CRC-16

constexpr std::array<std::uint16_t, 256> makeCrcTable() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned r = i;
        for (int k = 0; k < 8; ++k) {
            r = (r & 1U) ? (r >> 1) ^ 0xA001U : r >> 1;
        }
        table[i] = static_cast<std::uint16_t>(r);
    }
    return table;
}

constexpr auto kCrcTable = makeCrcTable();

// ---------------------------------------------------------------------------------------------
// -lh5- parameters

constexpr int kDicBits = 13;
constexpr int kMaxDistance = (1 << kDicBits) - 1;  // 8191; distance 1 is the previous byte
constexpr int kMinMatch = 3;
constexpr int kMaxMatch = 256;
constexpr int kNC = 256 + kMaxMatch + 1 - kMinMatch;  // 510 literal/length codes
constexpr int kCBits = 9;
constexpr int kNT = 19;  // code-length codes: 3 run codes + lengths 1..16
constexpr int kTBits = 5;
constexpr int kNP = kDicBits + 1;  // position codes: bit lengths 0..13
constexpr int kPBits = 4;
constexpr int kMaxCodeLength = 16;
constexpr int kBlockTokens = 16384;

struct Token {
    std::uint16_t code;      // 0..255 literal, 256.. a match of length code - 253
    std::uint16_t distance;  // match distance minus one
};

class BitWriter {
public:
    explicit BitWriter(QByteArray& out) : out_(out) {}

    // Writes the low n bits of value, most significant first (n <= 24).
    void put(int n, unsigned value) {
        for (int i = n - 1; i >= 0; --i) {
            acc_ = static_cast<unsigned char>((acc_ << 1) | ((value >> i) & 1U));
            if (++count_ == 8) {
                out_.append(static_cast<char>(acc_));
                acc_ = 0;
                count_ = 0;
            }
        }
    }

    void flush() {
        if (count_ > 0) {
            out_.append(static_cast<char>(acc_ << (8 - count_)));
            acc_ = 0;
            count_ = 0;
        }
    }

private:
    QByteArray& out_;
    unsigned char acc_ = 0;
    int count_ = 0;
};

// Huffman code lengths for freq, none longer than kMaxCodeLength. Unused symbols get 0.
// Returns the number of symbols in use.
int huffmanLengths(const std::vector<std::uint32_t>& freqIn, std::vector<std::uint8_t>& lengths) {
    const int n = static_cast<int>(freqIn.size());
    lengths.assign(n, 0);
    std::vector<std::uint32_t> freq = freqIn;
    const int used = static_cast<int>(std::count_if(freq.begin(), freq.end(), [](auto f) { return f > 0; }));
    if (used < 2) {
        return used;
    }
    for (;;) {
        // Nodes 0..n-1 are leaves; inner nodes follow.
        std::vector<std::uint64_t> weight(freq.begin(), freq.end());
        std::vector<int> parent(n, -1);
        using Item = std::pair<std::uint64_t, int>;
        std::priority_queue<Item, std::vector<Item>, std::greater<>> heap;
        for (int i = 0; i < n; ++i) {
            if (freq[i] > 0) {
                heap.push({freq[i], i});
            }
        }
        while (heap.size() > 1) {
            const auto a = heap.top();
            heap.pop();
            const auto b = heap.top();
            heap.pop();
            const int node = static_cast<int>(weight.size());
            weight.push_back(a.first + b.first);
            parent.push_back(-1);
            parent[a.second] = node;
            parent[b.second] = node;
            heap.push({a.first + b.first, node});
        }
        int longest = 0;
        for (int i = 0; i < n; ++i) {
            if (freq[i] == 0) {
                continue;
            }
            int depth = 0;
            for (int p = parent[i]; p >= 0; p = parent[p]) {
                ++depth;
            }
            lengths[i] = static_cast<std::uint8_t>(std::min(depth, 255));
            longest = std::max(longest, depth);
        }
        if (longest <= kMaxCodeLength) {
            return used;
        }
        // Too deep: flatten the distribution and build again.
        for (auto& f : freq) {
            if (f > 0) {
                f = (f >> 1) | 1U;
            }
        }
    }
}

// Canonical codes: shorter codes first, equal lengths in symbol order.
std::vector<std::uint16_t> canonicalCodes(const std::vector<std::uint8_t>& lengths) {
    std::array<unsigned, kMaxCodeLength + 2> count{};
    for (auto len : lengths) {
        if (len > 0) {
            ++count[len];
        }
    }
    std::array<unsigned, kMaxCodeLength + 2> start{};
    for (int i = 1; i <= kMaxCodeLength; ++i) {
        start[i + 1] = (start[i] + count[i]) << 1;
    }
    std::vector<std::uint16_t> codes(lengths.size(), 0);
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        if (lengths[i] > 0) {
            codes[i] = static_cast<std::uint16_t>(start[lengths[i]]++);
        }
    }
    return codes;
}

struct Table {
    std::vector<std::uint8_t> len;
    std::vector<std::uint16_t> code;
    int used = 0;
    int single = 0;  // the one symbol when used < 2

    void build(const std::vector<std::uint32_t>& freq) {
        used = huffmanLengths(freq, len);
        code = canonicalCodes(len);
        single = 0;
        if (used < 2) {
            for (std::size_t i = 0; i < freq.size(); ++i) {
                if (freq[i] > 0) {
                    single = static_cast<int>(i);
                }
            }
        }
    }

    void put(BitWriter& bits, int symbol) const {
        if (used >= 2) {
            bits.put(len[symbol], code[symbol]);
        }
    }
};

// Writes a code-length table of the small alphabets (the code-length code and positions).
// After the third length, a 2-bit count of zero lengths that follow is inserted when special.
void writePtLengths(BitWriter& bits, const Table& table, int nbits, bool special) {
    int n = static_cast<int>(table.len.size());
    while (n > 0 && table.len[n - 1] == 0) {
        --n;
    }
    bits.put(nbits, static_cast<unsigned>(n));
    int i = 0;
    while (i < n) {
        const int k = table.len[i++];
        if (k <= 6) {
            bits.put(3, static_cast<unsigned>(k));
        } else {
            bits.put(k - 3, (1U << (k - 3)) - 2);  // k-4 ones and a zero
        }
        if (special && i == 3) {
            int j = i;
            while (j < 6 && j < n && table.len[j] == 0) {
                ++j;
            }
            bits.put(2, static_cast<unsigned>(j - 3));
            i = j;
        }
    }
}

int trimmedLength(const std::vector<std::uint8_t>& len) {
    int n = static_cast<int>(len.size());
    while (n > 0 && len[n - 1] == 0) {
        --n;
    }
    return n;
}

// Walks the literal/length code lengths as the code-length code sees them.
template <typename F>
void forEachCLengthSymbol(const std::vector<std::uint8_t>& cLen, F&& f) {
    const int n = trimmedLength(cLen);
    int i = 0;
    while (i < n) {
        const int k = cLen[i++];
        if (k == 0) {
            int count = 1;
            while (i < n && cLen[i] == 0) {
                ++i;
                ++count;
            }
            if (count <= 2) {
                for (int r = 0; r < count; ++r) {
                    f(0, 0, 0);
                }
            } else if (count <= 18) {
                f(1, 4, count - 3);
            } else if (count == 19) {
                f(0, 0, 0);
                f(1, 4, 15);
            } else {
                f(2, kCBits, count - 20);
            }
        } else {
            f(k + 2, 0, 0);
        }
    }
}

int bitLength(unsigned v) {
    int n = 0;
    while (v) {
        ++n;
        v >>= 1;
    }
    return n;
}

void sendBlock(BitWriter& bits, const Token* tokens, int count) {
    std::vector<std::uint32_t> cFreq(kNC, 0);
    std::vector<std::uint32_t> pFreq(kNP, 0);
    for (int i = 0; i < count; ++i) {
        ++cFreq[tokens[i].code];
        if (tokens[i].code >= 256) {
            ++pFreq[bitLength(tokens[i].distance)];
        }
    }
    Table c;
    c.build(cFreq);
    bits.put(16, static_cast<unsigned>(count));

    if (c.used >= 2) {
        std::vector<std::uint32_t> tFreq(kNT, 0);
        forEachCLengthSymbol(c.len, [&](int sym, int, int) { ++tFreq[sym]; });
        Table t;
        t.build(tFreq);
        if (t.used >= 2) {
            writePtLengths(bits, t, kTBits, true);
        } else {
            bits.put(kTBits, 0);
            bits.put(kTBits, static_cast<unsigned>(t.single));
        }
        bits.put(kCBits, static_cast<unsigned>(trimmedLength(c.len)));
        forEachCLengthSymbol(c.len, [&](int sym, int extraBits, int extra) {
            t.put(bits, sym);
            if (extraBits > 0) {
                bits.put(extraBits, static_cast<unsigned>(extra));
            }
        });
    } else {
        bits.put(kTBits, 0);
        bits.put(kTBits, 0);
        bits.put(kCBits, 0);
        bits.put(kCBits, static_cast<unsigned>(c.single));
    }

    Table p;
    p.build(pFreq);
    if (p.used >= 2) {
        writePtLengths(bits, p, kPBits, false);
    } else {
        bits.put(kPBits, 0);
        bits.put(kPBits, static_cast<unsigned>(p.single));
    }

    for (int i = 0; i < count; ++i) {
        const Token& tk = tokens[i];
        c.put(bits, tk.code);
        if (tk.code >= 256) {
            const int nb = bitLength(tk.distance);
            p.put(bits, nb);
            if (nb > 1) {
                bits.put(nb - 1, tk.distance & ((1U << (nb - 1)) - 1));
            }
        }
    }
}

// LZSS parse with hash chains and one step of lazy matching.
class Matcher {
public:
    explicit Matcher(QByteArrayView data)
        : d_(reinterpret_cast<const unsigned char*>(data.data())), n_(static_cast<int>(data.size())),
          head_(kHashSize, -1), prev_(kWindow, -1) {}

    std::vector<Token> parse() {
        std::vector<Token> tokens;
        tokens.reserve(static_cast<std::size_t>(n_ / 2 + 16));
        int pos = 0;
        int inserted = 0;
        auto insertUpTo = [&](int end) {
            for (; inserted < end && inserted + kMinMatch <= n_; ++inserted) {
                insert(inserted);
            }
            inserted = std::max(inserted, end);
        };
        while (pos < n_) {
            insertUpTo(pos);
            int dist = 0;
            int len = longestMatch(pos, dist);
            if (len >= kMinMatch && len < kMaxMatch && pos + 1 < n_) {
                insertUpTo(pos + 1);
                int dist2 = 0;
                const int len2 = longestMatch(pos + 1, dist2);
                if (len2 > len) {
                    tokens.push_back({d_[pos], 0});
                    ++pos;
                    len = len2;
                    dist = dist2;
                }
            }
            if (len >= kMinMatch) {
                tokens.push_back({static_cast<std::uint16_t>(len - kMinMatch + 256),
                                  static_cast<std::uint16_t>(dist - 1)});
                pos += len;
            } else {
                tokens.push_back({d_[pos], 0});
                ++pos;
            }
        }
        return tokens;
    }

private:
    static constexpr int kHashBits = 15;
    static constexpr int kHashSize = 1 << kHashBits;
    static constexpr int kWindow = 1 << kDicBits;
    static constexpr int kChainLimit = 96;

    unsigned hashAt(int pos) const {
        const unsigned v = (unsigned(d_[pos]) << 16) | (unsigned(d_[pos + 1]) << 8) | d_[pos + 2];
        return (v * 2654435761U) >> (32 - kHashBits);
    }

    void insert(int pos) {
        const unsigned h = hashAt(pos);
        prev_[pos & (kWindow - 1)] = head_[h];
        head_[h] = pos;
    }

    // Positions before pos must already be inserted; pos itself is not looked at.
    int longestMatch(int pos, int& distance) const {
        if (pos + kMinMatch > n_) {
            return 0;
        }
        const int maxLen = std::min(kMaxMatch, n_ - pos);
        int best = 0;
        int cand = head_[hashAt(pos)];
        if (cand == pos) {
            cand = prev_[pos & (kWindow - 1)];
        }
        for (int chain = 0; cand >= 0 && chain < kChainLimit; ++chain) {
            const int dist = pos - cand;
            if (dist <= 0 || dist > kMaxDistance) {
                break;
            }
            if (d_[cand + best] == d_[pos + best]) {
                int len = 0;
                while (len < maxLen && d_[cand + len] == d_[pos + len]) {
                    ++len;
                }
                if (len > best) {
                    best = len;
                    distance = dist;
                    if (len == maxLen) {
                        break;
                    }
                }
            }
            const int next = prev_[cand & (kWindow - 1)];
            if (next >= cand) {
                break;  // the slot was reused by a newer position
            }
            cand = next;
        }
        return best >= kMinMatch ? best : 0;
    }

    const unsigned char* d_;
    int n_;
    std::vector<int> head_;
    std::vector<int> prev_;
};

}  // namespace

std::uint16_t lzhCrc16(QByteArrayView bytes, std::uint16_t crc) {
    for (const char ch : bytes) {
        crc = static_cast<std::uint16_t>(kCrcTable[(crc ^ static_cast<unsigned char>(ch)) & 0xFFU] ^ (crc >> 8));
    }
    return crc;
}

QByteArray lzhCompressLh5(QByteArrayView data) {
    QByteArray out;
    if (data.isEmpty()) {
        return out;
    }
    const std::vector<Token> tokens = Matcher(data).parse();
    out.reserve(data.size() / 2 + 64);
    BitWriter bits(out);
    for (std::size_t at = 0; at < tokens.size(); at += kBlockTokens) {
        const int count = static_cast<int>(std::min<std::size_t>(kBlockTokens, tokens.size() - at));
        sendBlock(bits, tokens.data() + at, count);
    }
    bits.flush();
    return out;
}

}  // namespace zm
