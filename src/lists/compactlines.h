#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <vector>

// Asks the system to back a large block with large pages: a block of a few hundred MiB then
// takes a few hundred page faults to fill instead of tens of thousands. Only the whole large
// pages inside the block are affected; a system without them ignores the advice.
void adviseLargePages(void *block, std::size_t bytes);

// The lines of a list kept as single-byte text: every character a line can hold (the
// stored fields, the fixed texts with the euro sign, the digits of a value) is one of the
// Windows-1252 code page, whose 256 bytes stand for 256 distinct characters. All lines sit
// in one buffer one after the other, with their starts beside them, so a list of a million
// lines is a few large blocks (given back whole when the list is emptied) instead of a
// million strings, and a line becomes display text only when it is shown.
class CompactLines final
{
public:
    CompactLines() = default;
    CompactLines(CompactLines &&other) noexcept;
    CompactLines &operator=(CompactLines &&other) noexcept;
    CompactLines(const CompactLines &) = delete;
    CompactLines &operator=(const CompactLines &) = delete;
    ~CompactLines();

    // Lines from display text; a character outside the code page becomes "?".
    static CompactLines fromList(const QList<QString> &lines);

    qsizetype size() const
    {
        return static_cast<qsizetype>(m_starts.size()) - (m_starts.empty() ? 0 : 1);
    }
    bool isEmpty() const { return size() == 0; }

    // Room for this many lines of at most this many bytes each, taken from the system
    // only as the lines fill it.
    void reserve(qsizetype lines, qsizetype longestLine);
    // Adds a line of `length` bytes and returns where to write them.
    char *appendLine(qsizetype length);
    void append(QByteArrayView line);

    // Line i, in list order once sorted, else in the order added.
    QByteArrayView bytes(qsizetype i) const;
    QString at(qsizetype i) const;
    QList<QString> toList() const;

    // Puts the lines into list order: by the whole text, A to Z folded, other characters
    // by code; lines that compare equal keep the order they came in.
    void sort();
    // Empties the list and gives its memory back.
    void clear();
    // Empties the list and keeps its room, for lines built one at a time in one place.
    void clearKeepingRoom()
    {
        m_used = 0;
        m_starts.clear();
        m_order.clear();
    }

    // The display text of line bytes, and the comparison of two lines in list order.
    static QString text(QByteArrayView line);
    static int compare(QByteArrayView a, QByteArrayView b);

private:
    qsizetype physical(qsizetype i) const
    {
        return m_order.empty() ? i : static_cast<qsizetype>(m_order[static_cast<std::size_t>(i)]);
    }

    char *m_data = nullptr;
    std::size_t m_used = 0;
    std::size_t m_capacity = 0;
    std::vector<std::uint64_t> m_starts; // size() + 1 entries once a line is added
    std::vector<std::uint32_t> m_order;  // list order after sort(); empty: order added
};
