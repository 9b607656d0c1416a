#pragma once
// A paint device that keeps what is drawn on it: the texts with their device
// position and the lines in the painter's own units, in drawing order.

#include <QPaintDevice>
#include <QPaintEngine>
#include <QTransform>
#include <vector>

struct RecordedText {
    QString Text;
    QPointF Baseline; // device position of the text's baseline start
    QTransform Transform;
};

class RecordingEngine : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    std::vector<RecordedText> Texts;
    std::vector<QLineF> Lines; // before the transformation
    int Images = 0;

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &state) override
    {
        if (state.state() & QPaintEngine::DirtyTransform)
            Current = state.transform();
    }
    // One drawn text arrives in pieces where font fallback changes the font
    // (Latin and Chinese): a piece that continues the previous one joins it.
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        if (!Texts.empty() && Current == Texts.back().Transform && qAbs(p.y() - LastEnd.y()) < 1e-6
            && qAbs(p.x() - LastEnd.x()) < 1e-3)
            Texts.back().Text += item.text();
        else
            Texts.push_back({item.text(), Current.map(p), Current});
        LastEnd = p + QPointF(item.width(), 0);
    }
    void drawLines(const QLineF *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Lines.push_back(lines[i]);
    }
    void drawLines(const QLine *lines, int count) override
    {
        for (int i = 0; i < count; ++i)
            Lines.push_back(QLineF(lines[i]));
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { ++Images; }
    void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override { ++Images; }
    void drawPath(const QPainterPath &) override {}
    void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
    void drawRects(const QRectF *, int) override {}

    QStringList TextList() const
    {
        QStringList list;
        for (const auto &t : Texts)
            list << t.Text;
        return list;
    }

private:
    QTransform Current;
    QPointF LastEnd;
};

class RecordingDevice : public QPaintDevice {
public:
    RecordingDevice(int width, int height) : Width(width), Height(height) {}
    QPaintEngine *paintEngine() const override { return &Engine; }
    mutable RecordingEngine Engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth: return Width;
        case PdmHeight: return Height;
        case PdmWidthMM: return Width * 254 / 960;
        case PdmHeightMM: return Height * 254 / 960;
        case PdmNumColors: return 0x7fffffff;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default: return 0;
        }
    }

private:
    int Width, Height;
};
