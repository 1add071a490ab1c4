// A base picture with a stack of positioned bitmap layers, and the composition of
// the part of it that a zoomed, scrolled view shows.
#pragma once

#include "ui/bitmap32.h"

#include <QPointF>
#include <QRect>

#include <memory>
#include <vector>

// One picture laid over the base, stretched to its location (in base pixels).
struct TBitmapLayer {
    TBitmap32 bitmap;
    QRect location;
    bool visible = true;
    // Blend composites with "over"; Opaque (and Custom) replace what is underneath.
    TBitmap32::DrawMode drawMode = TBitmap32::DrawMode::Blend;
    // Opacity of the whole layer, 0..255, applied on top of each pixel's alpha.
    std::uint8_t masterAlpha = 255;

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
