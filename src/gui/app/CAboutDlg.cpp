#include "gui/app/CAboutDlg.h"

#include "gui/app/AppContext.h"
#include "platform/AppPaths.h"

#include <QDesktopServices>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

namespace tolvane {

CAboutDlg::CAboutDlg(AppContext& context, QWidget* parent)
    : QDialog(parent), ok_(new QPushButton(this)), link_(new QLabel(this)) {
    setWindowTitle(QString::fromStdString(context.texts.text(130)));
    ok_->setText(QString::fromStdString(context.texts.text(108)));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(context.paths.dataFile(QStringLiteral("Gfx/bell.png"))));
    auto* product = new QLabel(QStringLiteral("Tolvane"), this);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 1.6);
    big.setBold(true);
    product->setFont(big);
    auto* version = new QLabel(Version, this);
    auto* firmware = new QLabel(QStringLiteral("Firmware:\nv1.41\nv1.42\nv1.43\nv1.44\nv1.45"), this);
    QFont bold = firmware->font();
    bold.setWeight(QFont::Bold);
    firmware->setFont(bold);
    link_->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(MakerAddress));
    link_->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(link_, &QLabel::linkActivated, this, [](const QString& url) { QDesktopServices::openUrl(QUrl(url)); });

    auto* layout = new QGridLayout(this);
    layout->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    layout->addWidget(product, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(firmware, 2, 1);
    layout->addWidget(link_, 3, 1);
    layout->addWidget(ok_, 4, 1, Qt::AlignRight);
    layout->setColumnStretch(1, 1);
}

} // namespace tolvane
