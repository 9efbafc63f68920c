#include "gui/app/CSplash.h"

#include <QLabel>
#include <QPixmap>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvane {

CSplash::CSplash(const QString& picturePath, const QString& version, QWidget* parent)
    : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint), timer_(new QTimer(this)) {
    auto* picture = new QLabel(this);
    const QPixmap image(picturePath);
    picture->setPixmap(image);
    auto* versionLine = new QLabel(version, this);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(20);
    versionLine->setFont(font);
    versionLine->setAlignment(Qt::AlignCenter);
    versionLine->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    setStyleSheet(QStringLiteral("QDialog { background: #19233c; }"));
    // The version sits on the dark band at the foot of the picture.
    versionLine->setParent(picture);
    versionLine->setGeometry(0, image.height() - 36, image.isNull() ? 200 : image.width(), 30);
    if (image.isNull()) {
        layout->addWidget(versionLine);
    }

    setWindowOpacity(0.0);
    timer_->setInterval(TickMs);
    connect(timer_, &QTimer::timeout, this, &CSplash::tick);
    timer_->start();
}

void CSplash::tick() {
    if (opacity_ < 255) {
        opacity_ = std::min(255, opacity_ + Step);
        setWindowOpacity(opacity_ / 255.0);
    }
    counter_ += Step;
    if (counter_ > CloseAfter) {
        timer_->stop();
        accept();
    }
}

} // namespace tolvane
