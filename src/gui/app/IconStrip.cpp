#include "gui/app/IconStrip.h"

namespace tolvane {

IconStrip::IconStrip(const QString& imagePath) {
    const QPixmap strip(imagePath);
    if (strip.isNull() || strip.height() < Size) {
        return;
    }
    for (int x = 0; x + Size <= strip.width(); x += Size) {
        pixmaps_.push_back(strip.copy(x, 0, Size, Size));
    }
}

QIcon IconStrip::icon(int index) const {
    const QPixmap image = pixmap(index);
    return image.isNull() ? QIcon() : QIcon(image);
}

QPixmap IconStrip::pixmap(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return pixmaps_[static_cast<std::size_t>(index)];
}

} // namespace tolvane
