#include "gui/report/CPorownanieDlg.h"

#include "TextNumbers.h"
#include "card/CardFolder.h"
#include "gui/app/AppContext.h"
#include "gui/app/CTarvelinView.h"
#include "gui/report/CPropRaport.h"
#include "platform/SafeFile.h"
#include "project/ProjectFile.h"
#include "platform/NativeFile.h"
#include "platform/PlatformCardFileSystem.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace tolvane {

namespace {

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

// Enter on a row chooses it, as a double click does.
class DifferenceList final : public QTableWidget {
public:
    using QTableWidget::QTableWidget;
    std::function<void(int)> onChoose;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && currentRow() >= 0 && onChoose) {
            onChoose(currentRow());
            return;
        }
        QTableWidget::keyPressEvent(event);
    }
};

} // namespace

CPorownanieDlg::CPorownanieDlg(std::vector<Difference> differences, const QString& beforeName,
                               const QString& afterName, const TextSource& texts, QWidget* parent)
    : QDialog(parent), differences_(std::move(differences)), texts_(texts), filter_(new QComboBox(this)),
      list_(new DifferenceList(this)), summary_(new QLabel(this)) {
    const auto t = [&texts](int id) { return qs(texts.text(id)); };
    setWindowTitle(t(ProjectDifference::TitleText));
    setObjectName(QStringLiteral("differencesDialog"));

    auto* layout = new QVBoxLayout(this);
    auto* sides = new QLabel(t(ProjectDifference::BeforeHeadText) + QStringLiteral(": ") + beforeName +
                                 QStringLiteral("\n") + t(ProjectDifference::AfterHeadText) + QStringLiteral(": ") +
                                 afterName,
                             this);
    sides->setTextFormat(Qt::PlainText);
    layout->addWidget(sides);

    auto* filterRow = new QHBoxLayout;
    auto* filterLabel = new QLabel(t(AreaFilterText), this);
    filterLabel->setBuddy(filter_);
    filter_->setObjectName(QStringLiteral("differenceAreaFilter"));
    filter_->setAccessibleName(t(AreaFilterText));
    filter_->addItem(t(AllAreasText), -1);
    std::vector<IssuePage> pages;
    for (const Difference& d : differences_) {
        if (std::find(pages.begin(), pages.end(), d.page) == pages.end()) {
            pages.push_back(d.page);
            filter_->addItem(qs(d.area), static_cast<int>(d.page));
        }
    }
    filterRow->addWidget(filterLabel);
    filterRow->addWidget(filter_, 1);
    layout->addLayout(filterRow);

    list_->setObjectName(QStringLiteral("differenceList"));
    list_->setAccessibleName(t(ProjectDifference::TitleText));
    list_->setColumnCount(6);
    list_->setHorizontalHeaderLabels({t(ProjectDifference::AreaHeadText), t(ProjectDifference::RecordHeadText),
                                      t(ProjectDifference::FieldHeadText), t(ProjectDifference::ChangeHeadText),
                                      t(ProjectDifference::BeforeHeadText), t(ProjectDifference::AfterHeadText)});
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTabKeyNavigation(false);
    list_->verticalHeader()->hide();
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setWordWrap(false);
    static_cast<DifferenceList*>(list_)->onChoose = [this](int row) { choose(row); };
    connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { choose(row); });
    layout->addWidget(list_, 1);

    auto* hint = new QLabel(t(HintText), this);
    layout->addWidget(summary_);
    layout->addWidget(hint);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(t(CloseText), QDialogButtonBox::RejectRole);
    close->setObjectName(QStringLiteral("differencesClose"));
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    connect(filter_, &QComboBox::currentIndexChanged, this, [this] { fill(); });
    fill();
    resize(900, 460);
    list_->setFocus(Qt::OtherFocusReason);
}

void CPorownanieDlg::fill() {
    const int page = filter_->currentData().toInt();
    shown_.clear();
    for (std::size_t i = 0; i < differences_.size(); ++i) {
        if (page < 0 || static_cast<int>(differences_[i].page) == page) {
            shown_.push_back(static_cast<int>(i));
        }
    }
    list_->setRowCount(static_cast<int>(shown_.size()));
    for (int row = 0; row < static_cast<int>(shown_.size()); ++row) {
        const Difference& d = differences_[static_cast<std::size_t>(shown_[static_cast<std::size_t>(row)])];
        const QString cells[] = {qs(d.area),   qs(d.record), qs(d.field), qs(ProjectDifference::kindText(d.kind, texts_)),
                                 qs(d.before), qs(d.after)};
        for (int column = 0; column < 6; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setToolTip(cells[column]);
            list_->setItem(row, column, item);
        }
    }
    list_->resizeColumnsToContents();
    if (!shown_.empty()) {
        list_->setCurrentCell(0, 0);
    }
    summary_->setText(shown_.empty() && differences_.empty()
                          ? qs(texts_.text(ProjectDifference::NoDifferenceText))
                          : qs(formatText(texts_.text(ProjectDifference::CountText),
                                          {TextArg{static_cast<long long>(shown_.size())}})));
}

void CPorownanieDlg::choose(int row) {
    if (row < 0 || row >= static_cast<int>(shown_.size())) {
        return;
    }
    chosen_ = shown_[static_cast<std::size_t>(row)];
    accept();
}

const Difference* CPorownanieDlg::chosen() const {
    return chosen_ >= 0 ? &differences_[static_cast<std::size_t>(chosen_)] : nullptr;
}

std::optional<IssueTarget> CPorownanieDlg::chosenTarget() const {
    const Difference* d = chosen();
    if (!d) {
        return std::nullopt;
    }
    IssueTarget target;
    target.page = d->page;
    target.kind = d->recordKind;
    target.record = d->recordAfter;
    return target;
}

std::vector<Difference> CPorownanieDlg::againstFolder(const ProjectData& project, const QString& folder,
                                                      const TextSource& texts, int& failureText) {
    failureText = 0;
    ProjectData card;
    card.setTextSource(&texts);
    PlatformCardFileSystem files;
    const card::FolderReadResult read = card::readCardFolder(card, toNativePath(folder), files);
    if (!read.ok) {
        failureText = read.text;
        return {};
    }
    return ProjectDifference::between(card, project, texts);
}

std::vector<Difference> CPorownanieDlg::againstFile(const ProjectData& project, const QString& path,
                                                    const TextSource& texts, int& failureText) {
    failureText = 0;
    const std::optional<QByteArray> bytes = readWholeFile(path, static_cast<qint64>(projectfile::MaxFileSize));
    if (!bytes) {
        failureText = text::ProjectDamaged;
        return {};
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes->constData());
    projectfile::OpenResult other =
        projectfile::open(std::span<const std::uint8_t>(data, static_cast<std::size_t>(bytes->size())), &texts);
    if (!other.project) {
        failureText = other.errorText;
        return {};
    }
    // In the order its pages would list it, as the open project is.
    other.project->sortSchedulesByTime();
    return ProjectDifference::between(*other.project, project, texts);
}

bool CPorownanieDlg::showAndOpen(AppContext& context, CTarvelinView* view, QWidget* owner,
                                 std::vector<Difference> differences, const QString& beforeName,
                                 const QString& afterName) {
    CPorownanieDlg dialog(std::move(differences), beforeName, afterName, context.texts, owner);
    if (context.dialogs.run(dialog) != QDialog::Accepted) {
        return false;
    }
    const std::optional<IssueTarget> target = dialog.chosenTarget();
    if (!target) {
        return false;
    }
    if (view) {
        CPropRaport::openTarget(*view, *target);
    }
    return true;
}

} // namespace tolvane
