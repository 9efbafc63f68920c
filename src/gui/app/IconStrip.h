#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

#include <vector>

namespace tolvane {

// A row of 16 x 16 icons cut from one image (Data/Gfx/icons.png for the tree, header.png for the page headers,
// toolbar.png for the tool bar). A missing image or an index past its end gives an empty icon, never a failure:
// the editor works without its pictures.
class IconStrip {
public:
    static constexpr int Size = 16;

    IconStrip() = default;
    explicit IconStrip(const QString& imagePath);

    QIcon icon(int index) const;
    QPixmap pixmap(int index) const;
    int count() const { return static_cast<int>(pixmaps_.size()); }

private:
    std::vector<QPixmap> pixmaps_;
};

} // namespace tolvane
