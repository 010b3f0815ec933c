#pragma once

#include <QColor>
#include <QDate>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPagedPaintDevice;
class QPainter;

// The report engine: a page design (a template of one printable page holding text boxes,
// pictures, lines, rectangles and, for list reports, bands), laid out into prepared pages
// that paint onto any paint device. Positions and sizes are engine pixels, 96 to the inch,
// measured from the top-left corner of the printable area (or of the band that holds the
// object); paper and margins are millimetres.
namespace ReportUnits {
constexpr double kPxPerMm = 96.0 / 25.4;
constexpr double mm(double value) { return value * kPxPerMm; }
} // namespace ReportUnits

enum class ObjectKind { Memo, Picture, Line, Shape, Band };

class TReportObject
{
public:
    virtual ~TReportObject() = default;
    TReportObject(const TReportObject &) = delete;
    TReportObject &operator=(const TReportObject &) = delete;

    ObjectKind kind() const { return m_kind; }
    QRectF box() const { return QRectF(Left, Top, Width, Height); }

    QString Name;
    double Left = 0, Top = 0, Width = 0, Height = 0;

protected:
    TReportObject(ObjectKind kind, const QString &name, const QRectF &box);

private:
    ObjectKind m_kind;
};

// A text box. Its text is a list of lines; the box clips whatever does not fit.
class TMemoView final : public TReportObject
{
public:
    TMemoView(const QString &name, const QRectF &box);

    // The whole content becomes this one text.
    void setText(const QString &text) { Lines = QStringList{text}; }
    QString text() const { return Lines.join(u'\n'); }
    void clearLines() { Lines.clear(); }
    void addLine(const QString &line) { Lines.append(line); }

    // The font the text is measured and drawn with: family and weight from Font, at a size
    // of kShapingPixels whole pixels; the engine scales it to FontHeight. A font's own size
    // is rounded to whole device pixels (8 pt would print at 8.25 pt at 96 dpi), a scale is
    // not, so every text prints at exactly its height on any device.
    QFont drawingFont() const;

    QStringList Lines;
    QFont Font;
    double FontHeight = 13.333; // character height without internal leading, in px
    QColor FontColor = Qt::black;
    QColor Fill; // invalid: no fill
    Qt::Alignment HAlign = Qt::AlignLeft;
    Qt::Alignment VAlign = Qt::AlignTop;
    bool WordWrap = true;
    bool Expressions = true; // "[DATE]" becomes the date of preparation
    double LineSpacing = 2;  // blank between two lines, px
    double FixedPitch = 0;   // when above zero: the distance from one line top to the next

    static constexpr int kShapingPixels = 1000;
    static constexpr double kInsetX = 2;
    static constexpr double kInsetY = 1;
};

// A bitmap scaled to fit its box with its proportions kept, on a white background.
class TPictureView final : public TReportObject
{
public:
    TPictureView(const QString &name, const QRectF &box);

    // The box shows a copy: later changes of the source do not reach the design.
    void setPicture(const QImage &picture) { Picture = picture.copy(); }

    QImage Picture;
    bool Center = false; // centred in the box; otherwise at its top-left corner
};

// A horizontal line along the top edge of its box, 1 px, black.
class TLineView final : public TReportObject
{
public:
    TLineView(const QString &name, const QRectF &box);
};

// A rectangle outline, 1 px, black, no fill.
class TShapeView final : public TReportObject
{
public:
    TShapeView(const QString &name, const QRectF &box);
};

// A horizontal strip as wide as the printable area that holds objects. Bands are stacked
// one below the other: the title band heads the first page, the data band follows once
// and splits across pages when taller than the room left, the footer band follows it once.
class TBand final : public TReportObject
{
public:
    enum class Role { Title, MasterData, Footer };
    TBand(Role role, const QString &name, double width, double height);

    Role role() const { return m_role; }
    template<typename T, typename... Args> T *add(Args &&...args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T *raw = object.get();
        Objects.push_back(std::move(object));
        return raw;
    }

    std::vector<std::unique_ptr<TReportObject>> Objects;

private:
    Role m_role;
};

enum TPrinterOrientation { poPortrait, poLandscape };

// One page of a design: paper, orientation, margins and the objects on it.
class TReportPage final
{
public:
    TReportPage() = default;
    TReportPage(const TReportPage &) = delete;
    TReportPage &operator=(const TReportPage &) = delete;

    // The paper as it lies: A4 is 210 x 297 mm upright, 297 x 210 mm on its side.
    QSizeF paperMm() const;
    // The printable area inside the margins, in px.
    QSizeF printableSize() const;

    template<typename T, typename... Args> T *add(Args &&...args)
    {
        auto object = std::make_unique<T>(std::forward<Args>(args)...);
        T *raw = object.get();
        Objects.push_back(std::move(object));
        return raw;
    }

    TPrinterOrientation Orientation = poPortrait;
    QSizeF PaperUprightMm{210, 297};
    double MarginMm = 10;
    std::vector<std::unique_ptr<TReportObject>> Objects;
};

// One object as laid out on a prepared page: everything needed to draw it.
struct PreparedItem {
    ObjectKind kind = ObjectKind::Memo;
    QString name;
    QRectF box; // on the printable area, px; also the clip of memos
    // Text boxes: the lines as drawn, where each starts (a line too wide for its box
    // starts at the box's left inset whatever the alignment, so only its end is cut), the
    // top of the first, the distance between tops, a line's height and its baseline below
    // its top. The font is the drawing font, scaled from its own size to fontHeight.
    QStringList lines;
    QList<double> lineLefts;
    double firstLineTop = 0;
    double pitch = 0;
    double lineHeight = 0;
    double ascent = 0;
    QFont font;
    double fontHeight = 0;
    QColor fontColor;
    QColor fill;
    Qt::Alignment hAlign = Qt::AlignLeft;
    // Pictures: the bitmap and the rectangle it is drawn into.
    QImage picture;
    QRectF pictureRect;
};

struct PreparedPage {
    TPrinterOrientation orientation = poPortrait;
    QSizeF paperMm;
    double marginMm = 0;
    QList<PreparedItem> items;

    // The first item of that name, or nullptr.
    const PreparedItem *find(const QString &name) const;
    // Every item of that name (a split text box appears once per page).
    QList<const PreparedItem *> findAll(const QString &name) const;
};

// A page design. Entry 0 of its pages is an empty data page; entry 1 is the printable page.
class TReport final
{
public:
    TReport(const QString &name, const QString &documentName);
    TReport(const TReport &) = delete;
    TReport &operator=(const TReport &) = delete;

    QString Name;
    QString DocumentName;

    TReportPage *Pages(int index) const
    {
        return m_pages.at(static_cast<std::size_t>(index)).get();
    }
    int PageCount() const { return static_cast<int>(m_pages.size()); }

    // The object of that exact name anywhere in the design, bands included; nullptr when
    // there is none. The typed forms give nullptr as well when the kind differs.
    TReportObject *FindObject(const QString &name) const;
    TMemoView *findMemo(const QString &name) const;
    TPictureView *findPicture(const QString &name) const;
    TBand *findBand(const QString &name) const;

    // Lays the design out into pages; with clearLastReport the pages prepared before are
    // discarded first, otherwise the new pages follow them.
    void PrepareReport(bool clearLastReport = true);
    const QList<PreparedPage> &preparedPages() const { return m_prepared; }
    // The date that "[DATE]" becomes; today unless set (tests).
    void setPreparationDate(const QDate &date) { m_date = date; }

    // Paints prepared page `index` with the painter's origin at the paper's top-left
    // corner; the device's resolution sets the scale (96 engine pixels to the inch).
    void paintPage(QPainter &painter, int index) const;
    // Paints prepared pages first..last (all when last < 0) onto a paged device, one
    // sheet each, with the paper and orientation of the design and no margins of the
    // device's own (a printer must be in full-page mode first, so that its origin is the
    // paper's corner). False when the device cannot be painted on.
    bool paintTo(QPagedPaintDevice &device, int first = 0, int last = -1) const;

private:
    std::vector<std::unique_ptr<TReportPage>> m_pages;
    QList<PreparedPage> m_prepared;
    QDate m_date;
};
