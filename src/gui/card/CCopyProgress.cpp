#include "gui/card/CCopyProgress.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

namespace tolvane {

CCopyProgress::CCopyProgress(const QString& destination, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint), destination_(new QLabel(destination, this)) {
    setObjectName(QStringLiteral("copyProgress"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* busy = new QProgressBar(this);
    busy->setRange(0, 0); // a busy animation: the copy reports no progress of its own
    busy->setTextVisible(false);
    layout->addWidget(busy);
    layout->addWidget(destination_);
    destination_->setObjectName(QStringLiteral("copyDestination"));
}

void CCopyProgress::appear() {
    show();
    QEventLoop loop;
    QTimer::singleShot(ShowDelayMilliseconds, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tolvane
