// A base picture with a stack of positioned bitmap layers, and the composition of
// the part of it that a zoomed, scrolled view shows.
#pragma once

#include "ui/bitmap32.h"

#include <QPointF>
#include <QRect>

#include <memory>
#include <vector>

// Which parts of a layer's bitmap hold anything to compose. Each row is cut into
// segments of kWidth pixels, each known to be wholly transparent, one colour
// throughout, or mixed. A segment is examined when a composition first needs it, and
// everything is forgotten as soon as the bitmap's content stamp changes, so the
// summary cannot go stale whatever wrote to the bitmap.
class TLayerInkSummary {
public:
    static constexpr int kWidth = 64;
    // Segment values: a uniform segment's colour (0 when it is wholly transparent),
    // or kMixed. Other colours of alpha 0 are never stored for uniform segments.
    static constexpr TColor32 kMixed = 0x00000001;

    // Starts afresh if the bitmap changed since the last call.
    void update(const TBitmap32& bmp);
    // The value of segment (block, y) of bmp, the bitmap last passed to update().
    TColor32 segment(const TBitmap32& bmp, int y, int block)
    {
        const std::size_t row = static_cast<std::size_t>(y) * static_cast<std::size_t>(blocksPerRow_);
        if (rowEpoch_[static_cast<std::size_t>(y)] != epoch_)
            startRow(y);
        TColor32& v = seg_[row + static_cast<std::size_t>(block)];
        if (v == kUnknown)
            v = examine(bmp, y, block);
        return v;
    }

private:
    static constexpr TColor32 kUnknown = 0x00000002;
    static TColor32 examine(const TBitmap32& bmp, int y, int block);
    void startRow(int y);

    std::uint64_t stamp_ = 0;
    int w_ = 0;
    int h_ = 0;
    int blocksPerRow_ = 0;
    // Starting afresh costs nothing up front: a row's segments are forgotten when the
    // row is first used under a new epoch.
    std::uint32_t epoch_ = 1;
    std::vector<std::uint32_t> rowEpoch_;
    std::vector<TColor32> seg_;
};

// One picture laid over the base, stretched to its location (in base pixels).
struct TBitmapLayer {
    TBitmap32 bitmap;
    QRect location;
    bool visible = true;
    // Blend composites with "over"; Opaque (and Custom) replace what is underneath.
    TBitmap32::DrawMode drawMode = TBitmap32::DrawMode::Blend;
    // Opacity of the whole layer, 0..255, applied on top of each pixel's alpha.
    std::uint8_t masterAlpha = 255;
    // Kept by composeView() (a cache: it follows the bitmap's changes by itself).
    mutable TLayerInkSummary ink;

    // Sizes the bitmap (cleared to 0x00FFFFFF) and places it at (0, 0, w, h).
    void setSizeAndPlace(int w, int h)
    {
        bitmap.setSize(w, h);
        location = QRect(0, 0, w, h);
    }
};

// The base picture and its layers, bottom to top. Layers are kept by pointer, so a
// TBitmapLayer* stays valid until the layer is removed.
class TLayerStack {
public:
    TBitmap32 base;

    TBitmapLayer* addLayer();
    // Removes and frees the layer (no effect if it is not in this stack).
    void removeLayer(const TBitmapLayer* layer);
    void clearLayers() { layers_.clear(); }
    int layerCount() const { return static_cast<int>(layers_.size()); }
    TBitmapLayer* layer(int i) { return layers_[static_cast<std::size_t>(i)].get(); }
    const TBitmapLayer* layer(int i) const { return layers_[static_cast<std::size_t>(i)].get(); }
    int indexOf(const TBitmapLayer* layer) const;

private:
    std::vector<std::unique_ptr<TBitmapLayer>> layers_;
};

// How base pixels land in a view: base pixel (mx, my) covers the view square from
// offset + (mx, my) * scale to offset + (mx + 1, my + 1) * scale.
struct TViewPlacement {
    double scale = 1.0;
    QPointF offset;

    // Base pixel under the centre of view pixel (x, y) (nearest neighbour).
    int mapX(int x) const;
    int mapY(int y) const;
    // View rectangle covering the base rectangle r (whole view pixels, rounded out).
    QRect viewRect(const QRect& r) const;
};

// Composes the view pixels of area (clipped to out) into out, whose pixel (x, y) is
// view pixel (x, y): background where there is no base picture, then the base, then
// each visible layer in stack order. The result is opaque (alpha 255) wherever the
// background is. Cost grows with the area and with the number of base pixels it
// shows, never with the size of the whole base picture.
void composeView(const TLayerStack& stack, const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                 TColor32 background = 0xFFC0C0C0);
// The same over any base and any layers, in the given order (their `visible` flag
// is not looked at: the caller chose them).
void composeLayers(const TBitmap32& base, const std::vector<const TBitmapLayer*>& layers,
                   const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                   TColor32 background = 0xFFC0C0C0);

// What an image view shows: a picture of some size in base pixels, composed on
// demand for any placement (a layer stack, the map's scene...).
class TImageSource {
public:
    virtual ~TImageSource() = default;
    virtual QSize imageSize() const = 0;
    // Composes view pixels of `area` into `out`, as composeView does.
    virtual void compose(const TViewPlacement& placement, const QRect& area, TBitmap32& out,
                         TColor32 background) const = 0;
};
