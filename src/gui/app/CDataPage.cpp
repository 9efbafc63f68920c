#include "gui/app/CDataPage.h"

#include "gui/app/CListModel.h"
#include "gui/app/CTarvelinDoc.h"
#include "gui/widgets/CControlTipCtrl.h"
#include "gui/widgets/CFireEdit.h"
#include "gui/widgets/CHelpWindow.h"
#include "gui/widgets/CPageHeader.h"
#include "gui/widgets/ChangeHighlight.h"
#include "gui/widgets/ControlText.h"
#include "gui/widgets/HelpKeys.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QResizeEvent>
#include <QScrollArea>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace tolvane {

CDataPage::CDataPage(AppContext& context, QWidget* parent)
    : QWidget(parent), context_(context), header_(new CPageHeader(this)), controlTips_(new CControlTipCtrl(this)) {
    setContentsMargins(0, HeaderHeight, 0, 0);
    header_->setGeometry(0, 0, width(), HeaderHeight);
}

CDataPage::~CDataPage() = default;

void CDataPage::setDocument(CTarvelinDoc* document, CTarvelinView* view) {
    if (document_) {
        disconnect(document_, &CTarvelinDoc::contentChanged, this, nullptr);
    }
    document_ = document;
    view_ = view;
    if (document_) {
        connect(document_, &CTarvelinDoc::contentChanged, this, [this](const ProjectChange& change) {
            if (shows_.intersects(change.sections)) {
                followChange(change);
            }
        });
    }
}

const ProjectData* CDataPage::project() const {
    return document_ ? &document_->project() : nullptr;
}

void CDataPage::reload(int) {}
void CDataPage::refreshTexts() {}
void CDataPage::showItem(bool, int) {}
void CDataPage::onSelectionChanged() {}

void CDataPage::refreshMarks() {
    update();
}

void CDataPage::commitPendingEdit() {
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field || !isAncestorOf(field)) {
        return;
    }
    if (auto* numeric = qobject_cast<CFireEdit*>(field)) {
        numeric->finishEditing();
    }
    emit field->editingFinished();
}

bool CDataPage::edit(const EditLabel& label, const EditKey& key, const std::function<void(ProjectData&)>& change) {
    return document_ && document_->edit(label, key, change, this);
}

void CDataPage::followChange(const ProjectChange& change) {
    if (change.origin != this) {
        reloadKeepingRecord();
    }
}

void CDataPage::endEditBurst() {
    if (document_) {
        document_->endEditBurst();
    }
}

void CDataPage::setHeader(const QString& title, const QIcon& icon) {
    header_->setTitle(title);
    setWindowTitle(title);
    headerIcon_ = icon;
}

QString CDataPage::headerTitle() const {
    return header_->title();
}

QString CDataPage::text(int id) const {
    return QString::fromStdString(context_.texts.text(id));
}

QString CDataPage::tipText(int id) const {
    return QString::fromStdString(context_.texts.tipText(id));
}

void CDataPage::helpRequested(QWidget* label) {
    controlTips_->activate(label);
}

void CDataPage::helpReleased(QWidget*) {
    controlTips_->deactivate();
}

bool CDataPage::markChangedField(QWidget* control, bool changed) {
    return changehighlight::markField(control, changed);
}

bool CDataPage::markChangedOption(QWidget* control, bool changed) {
    return changehighlight::markOption(control, changed);
}

void CDataPage::setItemText(QWidget* control, int textId) const {
    if (control) {
        setControlText(control, text(textId));
    }
}

void CDataPage::setItemTwoDigits(QWidget* control, int number) {
    setControlText(control, QString::asprintf("%.2d", number));
}

void CDataPage::showControl(QWidget* control) {
    if (control) {
        control->show();
    }
}

void CDataPage::hideControl(QWidget* control) {
    if (control) {
        control->hide();
    }
}

void CDataPage::showControlIf(QWidget* control, bool shown) {
    if (control) {
        control->setVisible(shown);
    }
}

void CDataPage::enableControl(QWidget* control, bool enabled) {
    if (control) {
        control->setEnabled(enabled);
    }
}

void CDataPage::setHelpTip(QWidget* control, int tipId) {
    setHelpText(control, tipText(tipId));
}

void CDataPage::setHelpText(QWidget* control, const QString& string) {
    controlTips_->setTip(control, string);
    helpkeys::setWhatsThis(control, string);
}

void CDataPage::showHelp() {
    CHelpWindow::showTopic(this, helpTopic_);
}

void CDataPage::keyPressEvent(QKeyEvent* event) {
    if (!helpkeys::handle(this, event, helpTopic_)) {
        QWidget::keyPressEvent(event);
    }
}

void CDataPage::beginListUpdate(QAbstractItemView* list) {
    if (!list) {
        return;
    }
    list->setUpdatesEnabled(false);
    if (auto* model = qobject_cast<CListModel*>(list->model())) {
        model->beginRefresh();
    } else if (auto* items = qobject_cast<QListWidget*>(list)) {
        items->clear();
    } else if (auto* table = qobject_cast<QTableWidget*>(list)) {
        table->setRowCount(0);
    } else if (auto* tree = qobject_cast<QTreeWidget*>(list)) {
        tree->clear();
    }
}

void CDataPage::endListUpdate(QAbstractItemView* list, int row, bool takeFocus) {
    if (!list) {
        return;
    }
    if (auto* model = qobject_cast<CListModel*>(list->model())) {
        model->endRefresh();
    }
    list->setUpdatesEnabled(true);
    list->update();
    const QAbstractItemModel* model = list->model();
    QItemSelectionModel* selection = list->selectionModel();
    if (model && selection && row >= 0 && row < model->rowCount()) {
        const QModelIndex index = model->index(row, 0);
        selection->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        list->scrollTo(index);
    }
    // The list takes the focus from its own page only: a keyboard user moving through the navigation tree keeps it.
    if (!takeFocus) {
        return;
    }
    QWidget* focused = QApplication::focusWidget();
    QWidget* page = list->parentWidget();
    if (!focused || (page && page->isAncestorOf(focused))) {
        list->setFocus();
    }
}

namespace {

// Home and End of a record list go to its first and last record (a table view would move between the columns of
// the row, which a list of whole-row records does not use).
class ListKeys : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) {
            return false;
        }
        auto* key = static_cast<QKeyEvent*>(event);
        const bool homeOrEnd = key->key() == Qt::Key_Home || key->key() == Qt::Key_End;
        if (!homeOrEnd || (key->modifiers() & Qt::ControlModifier) != Qt::NoModifier) {
            return false;
        }
        QKeyEvent toRow(QEvent::KeyPress, key->key(), key->modifiers() | Qt::ControlModifier, key->text());
        QCoreApplication::sendEvent(watched, &toRow);
        return true;
    }
};

} // namespace

void CDataPage::watchSelection(QAbstractItemView* list) {
    if (list && qobject_cast<QTableView*>(list)) {
        list->installEventFilter(new ListKeys(list));
    }
    if (list && list->selectionModel()) {
        connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { onSelectionChanged(); });
    }
}

QList<int> CDataPage::selectedRows(const QAbstractItemView* list) {
    QList<int> rows;
    if (!list || !list->selectionModel()) {
        return rows;
    }
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
        if (!rows.contains(index.row())) {
            rows.append(index.row());
        }
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CDataPage::showSelectedItem(const QAbstractItemView* list) {
    const QList<int> rows = selectedRows(list);
    if (rows.size() == 1) {
        currentItem_ = rows.front();
        showItem(true, rows.front());
    } else {
        currentItem_ = -1;
        showItem(false, 0);
    }
    return static_cast<int>(rows.size());
}

void CDataPage::showMessage(const QString& string) {
    context_.prompts.showMessage(this, string);
}

void CDataPage::showWarning(const QString& string) {
    context_.prompts.showWarning(this, string);
}

PromptService::Answer CDataPage::askYesNo(const QString& string) {
    return context_.prompts.ask(this, string, PromptService::Buttons::YesNo, PromptService::Icon::Question);
}

void CDataPage::resizeEvent(QResizeEvent* event) {
    header_->setGeometry(0, 0, event->size().width(), HeaderHeight);
    QWidget::resizeEvent(event);
}

void CDataPage::placeInScrollArea(QScrollArea* scroll, QWidget* content) {
    scroll->setWidget(content);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, HeaderHeight + 4, 4, 4);
    layout->addWidget(scroll);
}

void CDataPage::chainTabOrder(std::initializer_list<QWidget*> order) {
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous) {
            setTabOrder(previous, w);
        }
        previous = w;
    }
}

} // namespace tolvane
