#include "printing/report.h"

#include "common/datetext.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace {

constexpr double kEpsilon = 1e-6;

// Text is measured for layout on a device of exactly 96 dots to the inch, so that a
// design lays out the same whatever screen or printer it ends on.
const QImage &measuringDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        return image;
    }();
    return device;
}

// Breaks one line of text into the lines that fit a width (in the units of the font's
// pixel size), at word boundaries.
QStringList wrapLine(const QString &line, const QFont &font, double width)
{
    if (line.isEmpty())
        return {line};
    QTextLayout layout(line, font, &measuringDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(option);
    QStringList out;
    layout.beginLayout();
    for (QTextLine text = layout.createLine(); text.isValid(); text = layout.createLine()) {
        text.setLineWidth(std::max(width, 1.0));
        out.append(line.mid(text.textStart(), text.textLength()));
    }
    layout.endLayout();
    return out;
}

// Where a line of `width` px starts in a text area of `inner` px beginning at `left`. A line
// too wide for the area starts at its left edge whatever the alignment, so the box cuts its
// end and never its beginning.
double lineLeft(double left, double inner, double width, Qt::Alignment alignment)
{
    if (width >= inner)
        return left;
    if (alignment & Qt::AlignRight)
        return left + inner - width;
    if (alignment & Qt::AlignHCenter)
        return left + (inner - width) / 2;
    return left;
}

PreparedItem prepareMemo(const TMemoView &memo, const QDate &date)
{
    PreparedItem item;
    item.kind = ObjectKind::Memo;
    item.name = memo.Name;
    item.box = memo.box();
    item.font = memo.drawingFont();
    item.fontHeight = memo.FontHeight;
    item.fontColor = memo.FontColor;
    item.fill = memo.Fill;
    item.hAlign = memo.HAlign;

    // Measured at the drawing font's own size, then scaled to the memo's character height.
    const double scale = memo.FontHeight / TMemoView::kShapingPixels;
    const QFontMetricsF metrics(item.font, &measuringDevice());
    const QString today = DateText::format(date);
    const double textLeft = memo.Left + TMemoView::kInsetX;
    const double textWidth = memo.Width - 2 * TMemoView::kInsetX;
    for (QString line : memo.Lines) {
        if (memo.Expressions)
            line.replace(u"[DATE]"_s, today);
        if (memo.WordWrap)
            item.lines += wrapLine(line, item.font, textWidth / scale);
        else
            item.lines.append(line);
    }
    // Left-aligned lines start at the left whatever their width: only the others are
    // measured, which keeps long lists quick.
    const bool leftAligned = !(memo.HAlign & (Qt::AlignRight | Qt::AlignHCenter));
    for (const QString &line : std::as_const(item.lines)) {
        const double width = leftAligned ? 0 : metrics.horizontalAdvance(line) * scale;
        item.lineLefts.append(lineLeft(textLeft, textWidth, width, memo.HAlign));
    }

    item.lineHeight = metrics.height() * scale;
    item.ascent = metrics.ascent() * scale;
    item.pitch = memo.FixedPitch > 0 ? memo.FixedPitch : item.lineHeight + memo.LineSpacing;
    const double block = item.lines.isEmpty()
                             ? 0
                             : (item.lines.size() - 1) * item.pitch + item.lineHeight;
    const double innerTop = memo.Top + TMemoView::kInsetY;
    const double innerHeight = memo.Height - 2 * TMemoView::kInsetY;
    if (memo.VAlign & Qt::AlignVCenter)
        item.firstLineTop = innerTop + (innerHeight - block) / 2;
    else if (memo.VAlign & Qt::AlignBottom)
        item.firstLineTop = innerTop + innerHeight - block;
    else
        item.firstLineTop = innerTop;
    return item;
}

PreparedItem prepareObject(const TReportObject &object, const QDate &date)
{
    if (object.kind() == ObjectKind::Memo)
        return prepareMemo(static_cast<const TMemoView &>(object), date);
    PreparedItem item;
    item.kind = object.kind();
    item.name = object.Name;
    item.box = object.box();
    if (object.kind() == ObjectKind::Picture) {
        const auto &view = static_cast<const TPictureView &>(object);
        item.picture = view.Picture;
        if (!view.Picture.isNull()) {
            const QSizeF fitted =
                QSizeF(view.Picture.size()).scaled(item.box.size(), Qt::KeepAspectRatio);
            QPointF at = item.box.topLeft();
            if (view.Center)
                at += QPointF((item.box.width() - fitted.width()) / 2,
                              (item.box.height() - fitted.height()) / 2);
            item.pictureRect = QRectF(at, fitted);
        }
    }
    return item;
}

// Moves an item laid out in band coordinates down to where the band lies on the page.
void shift(PreparedItem &item, double dy)
{
    item.box.translate(0, dy);
    item.firstLineTop += dy;
    item.pictureRect.translate(0, dy);
}

// The part of a band between `from` and `to` (band coordinates), put on a page at `y`.
// Text boxes that straddle the cut keep the lines whose tops fall inside the part; other
// objects go wholly with the part that holds their top.
void placeBandPart(const QList<PreparedItem> &items, double from, double to, double y,
                   QList<PreparedItem> &out)
{
    const double dy = y - from;
    for (const PreparedItem &source : items) {
        const double top = source.box.top();
        const double bottom = source.box.bottom();
        if (source.kind != ObjectKind::Memo) {
            if ((top >= from - kEpsilon || from <= 0) && top < to - kEpsilon) {
                PreparedItem item = source;
                shift(item, dy);
                out.append(item);
            }
            continue;
        }
        if (bottom <= from + kEpsilon && from > 0)
            continue;
        if (top >= to - kEpsilon && top > 0)
            continue;
        PreparedItem item = source;
        const double low = top >= from ? -std::numeric_limits<double>::infinity() : from;
        const double high = bottom <= to ? std::numeric_limits<double>::infinity() : to;
        item.lines.clear();
        item.lineLefts.clear();
        bool first = true;
        for (int i = 0; i < source.lines.size(); ++i) {
            const double lineTop = source.firstLineTop + i * source.pitch;
            if (lineTop < low - kEpsilon || lineTop >= high - kEpsilon)
                continue;
            if (first)
                item.firstLineTop = lineTop;
            first = false;
            item.lines.append(source.lines.at(i));
            item.lineLefts.append(source.lineLefts.at(i));
        }
        item.box.setTop(std::max(top, from));
        item.box.setBottom(std::min(bottom, to));
        shift(item, dy);
        out.append(item);
    }
}

// The lowest cut of a band above `limit` and beyond `from` that falls between two lines
// of its text boxes; a negative value when there is none.
double cutBetweenLines(const QList<PreparedItem> &items, double from, double limit)
{
    double best = -1;
    for (const PreparedItem &item : items) {
        if (item.kind != ObjectKind::Memo)
            continue;
        for (int k = 1; k <= item.lines.size(); ++k) {
            const double cut = item.firstLineTop + k * item.pitch;
            if (cut > from + kEpsilon && cut <= limit + kEpsilon)
                best = std::max(best, cut);
        }
    }
    return best;
}

} // namespace

TReportObject::TReportObject(ObjectKind kind, const QString &name, const QRectF &box)
    : Name(name), Left(box.left()), Top(box.top()), Width(box.width()), Height(box.height()),
      m_kind(kind)
{
}

TMemoView::TMemoView(const QString &name, const QRectF &box)
    : TReportObject(ObjectKind::Memo, name, box)
{
    Font.setFamily(u"Arial"_s);
}

QFont TMemoView::drawingFont() const
{
    QFont font = Font;
    font.setPixelSize(kShapingPixels);
    // Outlines as designed: the glyphs and their widths scale exactly with the size, so the
    // layout is the same on the screen, the printer and a file, whatever the system's
    // hinting settings.
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

TPictureView::TPictureView(const QString &name, const QRectF &box)
    : TReportObject(ObjectKind::Picture, name, box)
{
}

TLineView::TLineView(const QString &name, const QRectF &box)
    : TReportObject(ObjectKind::Line, name, box)
{
}

TShapeView::TShapeView(const QString &name, const QRectF &box)
    : TReportObject(ObjectKind::Shape, name, box)
{
}

TBand::TBand(Role role, const QString &name, double width, double height)
    : TReportObject(ObjectKind::Band, name, QRectF(0, 0, width, height)), m_role(role)
{
}

QSizeF TReportPage::paperMm() const
{
    return Orientation == poPortrait ? PaperUprightMm : PaperUprightMm.transposed();
}

QSizeF TReportPage::printableSize() const
{
    const QSizeF paper = paperMm();
    return QSizeF(ReportUnits::mm(paper.width() - 2 * MarginMm),
                  ReportUnits::mm(paper.height() - 2 * MarginMm));
}

const PreparedItem *PreparedPage::find(const QString &name) const
{
    for (const PreparedItem &item : items) {
        if (item.name == name)
            return &item;
    }
    return nullptr;
}

QList<const PreparedItem *> PreparedPage::findAll(const QString &name) const
{
    QList<const PreparedItem *> found;
    for (const PreparedItem &item : items) {
        if (item.name == name)
            found.append(&item);
    }
    return found;
}

TReport::TReport(const QString &name, const QString &documentName)
    : Name(name), DocumentName(documentName)
{
    m_pages.push_back(std::make_unique<TReportPage>()); // the data page, always empty
    m_pages.push_back(std::make_unique<TReportPage>());
}

TReportObject *TReport::FindObject(const QString &name) const
{
    for (const auto &page : m_pages) {
        for (const auto &object : page->Objects) {
            if (object->Name == name)
                return object.get();
            if (object->kind() != ObjectKind::Band)
                continue;
            for (const auto &inner : static_cast<const TBand &>(*object).Objects) {
                if (inner->Name == name)
                    return inner.get();
            }
        }
    }
    return nullptr;
}

TMemoView *TReport::findMemo(const QString &name) const
{
    TReportObject *object = FindObject(name);
    return object && object->kind() == ObjectKind::Memo ? static_cast<TMemoView *>(object)
                                                        : nullptr;
}

TPictureView *TReport::findPicture(const QString &name) const
{
    TReportObject *object = FindObject(name);
    return object && object->kind() == ObjectKind::Picture ? static_cast<TPictureView *>(object)
                                                           : nullptr;
}

TBand *TReport::findBand(const QString &name) const
{
    TReportObject *object = FindObject(name);
    return object && object->kind() == ObjectKind::Band ? static_cast<TBand *>(object) : nullptr;
}

void TReport::PrepareReport(bool clearLastReport)
{
    if (clearLastReport)
        m_prepared.clear();
    const QDate date = m_date.isValid() ? m_date : QDate::currentDate();

    for (std::size_t p = 1; p < m_pages.size(); ++p) {
        const TReportPage &design = *m_pages[p];
        const double pageHeight = design.printableSize().height();
        const int firstPage = static_cast<int>(m_prepared.size());
        auto newPage = [&] {
            PreparedPage page;
            page.orientation = design.Orientation;
            page.paperMm = design.paperMm();
            page.marginMm = design.MarginMm;
            m_prepared.append(page);
        };
        newPage();

        std::vector<const TBand *> bands;
        for (const auto &object : design.Objects) {
            if (object->kind() == ObjectKind::Band)
                bands.push_back(static_cast<const TBand *>(object.get()));
            else
                m_prepared[firstPage].items.append(prepareObject(*object, date));
        }
        // Title bands first, then the data, then the footers, each kind in design order.
        std::stable_sort(bands.begin(), bands.end(), [](const TBand *a, const TBand *b) {
            return static_cast<int>(a->role()) < static_cast<int>(b->role());
        });

        double y = 0;
        for (const TBand *band : bands) {
            QList<PreparedItem> items;
            for (const auto &object : band->Objects)
                items.append(prepareObject(*object, date));
            const double height = band->Height;
            if (band->role() != TBand::Role::MasterData) {
                if (y > 0 && y + height > pageHeight + kEpsilon) {
                    newPage();
                    y = 0;
                }
                placeBandPart(items, 0, height, y, m_prepared.last().items);
                y += height;
                continue;
            }
            double offset = 0;
            while (true) {
                const double room = pageHeight - y;
                if (height - offset <= room + kEpsilon) {
                    placeBandPart(items, offset, height, y, m_prepared.last().items);
                    y += height - offset;
                    break;
                }
                double cut = cutBetweenLines(items, offset, offset + room);
                if (cut < 0) {
                    if (y > 0) {
                        newPage();
                        y = 0;
                        continue;
                    }
                    cut = offset + room; // nothing breaks it more finely: cut at the foot
                }
                placeBandPart(items, offset, cut, y, m_prepared.last().items);
                offset = cut;
                newPage();
                y = 0;
            }
        }
    }
}

void TReport::paintPage(QPainter &painter, int index) const
{
    const PreparedPage &page = m_prepared.at(index);
    const QPaintDevice *device = painter.device();
    const int dpiX = device ? device->logicalDpiX() : 96;
    const int dpiY = device ? device->logicalDpiY() : 96;

    painter.save();
    painter.scale(dpiX / 96.0, dpiY / 96.0);
    painter.translate(ReportUnits::mm(page.marginMm), ReportUnits::mm(page.marginMm));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setRenderHint(QPainter::TextAntialiasing);

    for (const PreparedItem &item : page.items) {
        switch (item.kind) {
        case ObjectKind::Memo: {
            if (item.fill.isValid())
                painter.fillRect(item.box, item.fill);
            painter.save();
            painter.setClipRect(item.box, Qt::IntersectClip);
            painter.setFont(item.font);
            painter.setPen(item.fontColor);
            const double scale = item.fontHeight / TMemoView::kShapingPixels;
            for (int i = 0; i < item.lines.size(); ++i) {
                painter.save();
                painter.translate(item.lineLefts.at(i),
                                  item.firstLineTop + i * item.pitch + item.ascent);
                painter.scale(scale, scale);
                painter.drawText(QPointF(0, 0), item.lines.at(i));
                painter.restore();
            }
            painter.restore();
            break;
        }
        case ObjectKind::Picture:
            painter.fillRect(item.box, Qt::white);
            if (!item.picture.isNull())
                painter.drawImage(item.pictureRect, item.picture);
            break;
        case ObjectKind::Line:
            painter.setPen(QPen(Qt::black, 1));
            painter.drawLine(item.box.topLeft(), item.box.topRight());
            break;
        case ObjectKind::Shape:
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(item.box);
            break;
        case ObjectKind::Band:
            break;
        }
    }
    painter.restore();
}

bool TReport::paintTo(QPagedPaintDevice &device, int first, int last) const
{
    if (m_prepared.isEmpty())
        return false;
    if (last < 0 || last >= m_prepared.size())
        last = static_cast<int>(m_prepared.size()) - 1;
    first = std::clamp(first, 0, last);

    // The painter's origin goes to the paper's corner; the design's margins are its own.
    auto layoutFor = [](const PreparedPage &page) {
        const QSizeF upright = page.orientation == poPortrait ? page.paperMm
                                                              : page.paperMm.transposed();
        return QPageLayout(QPageSize(upright, QPageSize::Millimeter),
                           page.orientation == poPortrait ? QPageLayout::Portrait
                                                          : QPageLayout::Landscape,
                           QMarginsF(0, 0, 0, 0));
    };
    device.setPageLayout(layoutFor(m_prepared.at(first)));
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = first; i <= last; ++i) {
        if (i > first) {
            device.setPageLayout(layoutFor(m_prepared.at(i)));
            if (!device.newPage())
                return false;
        }
        paintPage(painter, i);
    }
    return painter.end();
}
