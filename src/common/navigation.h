#pragma once

#include <QStringView>
#include <QtGlobal>

#include <functional>

// The rule of the four arrows that page through a record file one record at a time, from
// the position on show (empty for a new record not yet in the file) and the file's count.
namespace Navigation {

enum class Step { First, Previous, Next, Last };

struct Move {
    enum class Kind {
        Stay,  // nothing to do: already at the first record, or past the last going forward
        Show,  // show the record at `target`
        Empty, // the file holds no record: say so; going forward also empties the position
    };
    Kind kind = Kind::Stay;
    qint64 target = 0;
    bool clearPosition = false;
};

// Where a step leads from the position shown (trimmed). `count` is asked only when the
// step needs it: nothing comes before record 1, so the file is not even counted then.
// A new record counts as 0 going forward, and going back it leads to record 1; a position
// past the end (the file shrank outside the program) steps back to the last record.
Move step(Step step, QStringView shown, const std::function<qint64()> &count);

} // namespace Navigation
