#include "lists/compactlines.h"

#include "common/storedtext.h"
#include "lists/rigaelenco.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sys/mman.h>

namespace {

// The place of every byte's character in list order, A to Z folded, from 1: two bytes
// share a rank exactly when their characters compare equal. 0 stands for the end of a line.
const std::array<std::uint8_t, 256> &ranks()
{
    static const std::array<std::uint8_t, 256> table = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int i = 0; i < 256; ++i)
            all[i] = static_cast<char>(i);
        const QString chars = StoredText::fromCp1252(all);
        std::array<char16_t, 256> folded{};
        for (int i = 0; i < 256; ++i)
            folded[static_cast<std::size_t>(i)] = minuscolaAZ(chars.at(i).unicode());
        std::array<char16_t, 256> distinct = folded;
        std::sort(distinct.begin(), distinct.end());
        const auto end = std::unique(distinct.begin(), distinct.end());
        std::array<std::uint8_t, 256> out{};
        for (std::size_t i = 0; i < 256; ++i)
            out[i] = static_cast<std::uint8_t>(
                1 + (std::lower_bound(distinct.begin(), end, folded[i]) - distinct.begin()));
        return out;
    }();
    return table;
}

} // namespace

void adviseLargePages(void *block, std::size_t bytes)
{
    constexpr std::uintptr_t kLarge = 2 << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t first = (begin + kLarge - 1) & ~(kLarge - 1);
    const std::uintptr_t last = (begin + bytes) & ~(kLarge - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void *>(first), last - first, MADV_HUGEPAGE);
}

CompactLines::CompactLines(CompactLines &&other) noexcept
    : m_data(std::exchange(other.m_data, nullptr)), m_used(std::exchange(other.m_used, 0)),
      m_capacity(std::exchange(other.m_capacity, 0)), m_starts(std::move(other.m_starts)),
      m_order(std::move(other.m_order))
{
    other.m_starts.clear();
    other.m_order.clear();
}

CompactLines &CompactLines::operator=(CompactLines &&other) noexcept
{
    if (this != &other) {
        clear();
        m_data = std::exchange(other.m_data, nullptr);
        m_used = std::exchange(other.m_used, 0);
        m_capacity = std::exchange(other.m_capacity, 0);
        m_starts = std::move(other.m_starts);
        m_order = std::move(other.m_order);
        other.m_starts.clear();
        other.m_order.clear();
    }
    return *this;
}

CompactLines::~CompactLines() { std::free(m_data); }

CompactLines CompactLines::fromList(const QList<QString> &lines)
{
    CompactLines out;
    for (const QString &line : lines)
        out.append(StoredText::toCp1252(line));
    return out;
}

void CompactLines::reserve(qsizetype lines, qsizetype longestLine)
{
    m_starts.reserve(static_cast<std::size_t>(lines) + 1);
    const std::size_t bytes = static_cast<std::size_t>(lines) *
                              static_cast<std::size_t>(longestLine);
    if (bytes <= m_capacity)
        return;
    // A large block comes straight from the system, which hands out its pages only as they
    // are written, so room reserved for lines never added costs nothing.
    char *grown = static_cast<char *>(std::realloc(m_data, bytes));
    if (!grown)
        throw std::bad_alloc();
    m_data = grown;
    m_capacity = bytes;
    adviseLargePages(m_data, m_capacity);
    adviseLargePages(m_starts.data(), m_starts.capacity() * sizeof(std::uint64_t));
}

char *CompactLines::appendLine(qsizetype length)
{
    const auto n = static_cast<std::size_t>(length);
    if (m_used + n > m_capacity || !m_data) {
        const std::size_t wanted = std::max<std::size_t>({m_used + n, m_capacity * 2, 4096});
        char *grown = static_cast<char *>(std::realloc(m_data, wanted));
        if (!grown)
            throw std::bad_alloc();
        m_data = grown;
        m_capacity = wanted;
    }
    if (m_starts.empty())
        m_starts.push_back(0);
    char *at = m_data + m_used;
    m_used += n;
    m_starts.push_back(m_used);
    m_order.clear();
    return at;
}

void CompactLines::append(QByteArrayView line)
{
    char *at = appendLine(line.size());
    if (!line.isEmpty())
        std::memcpy(at, line.data(), static_cast<std::size_t>(line.size()));
}

QByteArrayView CompactLines::bytes(qsizetype i) const
{
    const auto p = static_cast<std::size_t>(physical(i));
    const std::uint64_t begin = m_starts[p];
    return QByteArrayView(m_data + begin, static_cast<qsizetype>(m_starts[p + 1] - begin));
}

QString CompactLines::at(qsizetype i) const { return text(bytes(i)); }

QList<QString> CompactLines::toList() const
{
    QList<QString> out;
    out.reserve(size());
    for (qsizetype i = 0; i < size(); ++i)
        out.append(at(i));
    return out;
}

QString CompactLines::text(QByteArrayView line) { return StoredText::fromCp1252(line); }

int CompactLines::compare(QByteArrayView a, QByteArrayView b)
{
    const std::array<std::uint8_t, 256> &rank = ranks();
    const qsizetype n = std::min(a.size(), b.size());
    const auto *pa = reinterpret_cast<const unsigned char *>(a.data());
    const auto *pb = reinterpret_cast<const unsigned char *>(b.data());
    qsizetype i = 0;
    // Lines share long prefixes: skip the equal part eight bytes at a time.
    for (; i + 8 <= n; i += 8) {
        std::uint64_t wa, wb;
        std::memcpy(&wa, pa + i, sizeof wa);
        std::memcpy(&wb, pb + i, sizeof wb);
        if (wa != wb)
            break;
    }
    for (; i < n; ++i) {
        if (pa[i] == pb[i])
            continue;
        const std::uint8_t ra = rank[pa[i]];
        const std::uint8_t rb = rank[pb[i]];
        if (ra != rb)
            return ra < rb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

void CompactLines::sort()
{
    const qsizetype n = size();
    m_order.clear();
    if (n < 2)
        return;
    // The part every line shares (the fixed text a format begins with) decides nothing:
    // each line's key is the rank of its next 24 bytes, eight to a number. Most comparisons
    // end there; equal keys fall back to the whole lines, then to the order the lines came in.
    const QByteArrayView first = bytes(0);
    qsizetype common = first.size();
    for (qsizetype i = 1; i < n && common > 0; ++i) {
        const QByteArrayView line = bytes(i);
        qsizetype k = 0;
        const qsizetype limit = std::min(common, line.size());
        while (k < limit && line[k] == first[k])
            ++k;
        common = k;
    }
    struct Key {
        std::uint64_t word[3];
        std::uint32_t index;
    };
    const std::array<std::uint8_t, 256> &rank = ranks();
    std::vector<Key> keys;
    keys.reserve(static_cast<std::size_t>(n));
    adviseLargePages(keys.data(), keys.capacity() * sizeof(Key));
    keys.resize(static_cast<std::size_t>(n));
    for (qsizetype i = 0; i < n; ++i) {
        const QByteArrayView line = bytes(i);
        Key &key = keys[static_cast<std::size_t>(i)];
        key.index = static_cast<std::uint32_t>(i);
        qsizetype at = common;
        for (std::uint64_t &word : key.word) {
            std::uint64_t packed = 0;
            for (int k = 0; k < 8; ++k, ++at)
                packed = (packed << 8) |
                         (at < line.size() ? rank[static_cast<unsigned char>(line[at])] : 0u);
            word = packed;
        }
    }
    std::sort(keys.begin(), keys.end(), [this](const Key &a, const Key &b) {
        for (int w = 0; w < 3; ++w) {
            if (a.word[w] != b.word[w])
                return a.word[w] < b.word[w];
        }
        const int order = compare(bytes(a.index), bytes(b.index));
        return order != 0 ? order < 0 : a.index < b.index;
    });
    std::vector<std::uint32_t> order(static_cast<std::size_t>(n));
    for (qsizetype i = 0; i < n; ++i)
        order[static_cast<std::size_t>(i)] = keys[static_cast<std::size_t>(i)].index;
    m_order = std::move(order);
}

void CompactLines::clear()
{
    std::free(m_data);
    m_data = nullptr;
    m_used = 0;
    m_capacity = 0;
    std::vector<std::uint64_t>().swap(m_starts);
    std::vector<std::uint32_t>().swap(m_order);
}
