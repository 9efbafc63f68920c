#include "gui/wiring/CPropKrosownica.h"

#include "TextNumbers.h"
#include "gui/widgets/CLinkStatic.h"
#include "gui/wiring/CSelIn.h"
#include "gui/wiring/CSelOut.h"
#include "gui/wiring/CSelPowr.h"
#include "gui/wiring/CWiringModel.h"
#include "report/WiringText.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTableView>
#include <QVBoxLayout>

namespace tolvane {

namespace {

constexpr int RelayCount = OutputMapRecord::RelayCount;

// Ctrl+C in the wiring table copies the whole table as text, not the one cell a table view would copy.
class CopyKeys : public QObject {
public:
    CopyKeys(QObject* parent, std::function<void()> copy) : QObject(parent), copy_(std::move(copy)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            copy_();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> copy_;
};

} // namespace

CPropKrosownica::CPropKrosownica(AppContext& context, QWidget* parent)
    : CDataPage(context, parent), outputs_(new QGroupBox(this)), inputs_(new QGroupBox(this)),
      tableLabel_(new QLabel(this)), model_(new CWiringModel([this] { return project(); }, context.texts, this)),
      table_(new QTableView(this)), copy_(new QPushButton(this)) {
    auto* outputGrid = new QGridLayout(outputs_);
    auto* inputGrid = new QGridLayout(inputs_);
    for (int position = 0; position < Terminal::Count; ++position) {
        const Terminal terminal = Terminal::at(position);
        const QString name = QString::fromStdString(terminal.name());
        auto* label = new QLabel(name, this);
        auto* link = new CLinkStatic(this);
        link->setObjectName(QStringLiteral("value") + name);
        label->setBuddy(link);
        names_[static_cast<std::size_t>(position)] = label;
        values_[static_cast<std::size_t>(position)] = link;
        connect(link, &CLinkStatic::clicked, this, [this, position] { open(position); });
        QGridLayout* grid = position < RelayCount ? outputGrid : inputGrid;
        const int row = position < RelayCount ? position : position - RelayCount;
        grid->addWidget(label, row, 0);
        grid->addWidget(link, row, 1);
    }
    for (QGridLayout* grid : {outputGrid, inputGrid}) {
        grid->setColumnMinimumWidth(0, 50);
        grid->setColumnMinimumWidth(1, 220);
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(grid->rowCount(), 1);
    }

    table_->setObjectName(QStringLiteral("wiringTable"));
    table_->setModel(model_);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setHighlightSections(false);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setColumnWidth(CWiringModel::TerminalColumn, 80);
    table_->setColumnWidth(CWiringModel::DoesColumn, 240);
    table_->installEventFilter(new CopyKeys(table_, [this] { copyTable(); }));
    tableLabel_->setBuddy(table_);
    copy_->setObjectName(QStringLiteral("copyWiring"));
    connect(copy_, &QPushButton::clicked, this, &CPropKrosownica::copyTable);

    auto* groups = new QHBoxLayout;
    groups->addWidget(outputs_, 1);
    groups->addWidget(inputs_, 1);
    auto* copyRow = new QHBoxLayout;
    copyRow->addWidget(copy_);
    copyRow->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, HeaderHeight + 10, 12, 12);
    layout->addLayout(groups);
    layout->addWidget(tableLabel_);
    layout->addWidget(table_, 1);
    layout->addLayout(copyRow);

    // Tab goes down the outputs, then the inputs, then the table and its Copy button.
    QWidget* previous = nullptr;
    for (CLinkStatic* link : values_) {
        if (previous) {
            setTabOrder(previous, link);
        }
        previous = link;
    }
    setTabOrder(previous, table_);
    setTabOrder(table_, copy_);
}

void CPropKrosownica::reload(int) {
    model_->refresh();
    showValues();
}

void CPropKrosownica::refreshTexts() {
    outputs_->setTitle(text(text::Outputs));
    inputs_->setTitle(text(text::Inputs));
    tableLabel_->setText(text(wiring::TableTitleText) + QLatin1Char(':'));
    table_->setAccessibleName(text(wiring::TableTitleText));
    copy_->setText(text(text::CopyWiring));
    copy_->setToolTip(text(text::CopyWiringTip));
    copy_->setAccessibleDescription(text(text::CopyWiringTip));
    model_->textsChanged();
    showValues();
}

void CPropKrosownica::refreshMarks() {
    model_->textsChanged();
    showValues();
}

// Every value shows what its terminal drives or does (text 109 when nothing, so that the link can be seen and
// clicked), its change mark, and the warning of a relay with several functions; a screen reader hears the terminal,
// the value and what the colours say.
void CPropKrosownica::showValues() {
    const ProjectData* p = project();
    for (int position = 0; position < Terminal::Count; ++position) {
        CLinkStatic* link = values_[static_cast<std::size_t>(position)];
        const Terminal terminal = Terminal::at(position);
        link->setEnabled(p != nullptr);
        if (!p) {
            link->setText(QString());
            continue;
        }
        const OutputMap& map = p->outputs();
        const auto shown = wiring::terminalValue(map, terminal);
        const QString value =
            shown ? QString::fromStdString(labelText(*shown, context().texts)) : text(text::NoneChoice);
        link->setText(value);
        link->setAccessibleName(QString::fromStdString(terminal.name()) + QStringLiteral(": ") + value);

        const bool changed = (map.changeMask() & terminal.maskBit()) != 0;
        const QString warning = terminal.kind == Terminal::Kind::Relay
                                    ? CWiringModel::sharedRelayWarning(map, terminal.index, context().texts)
                                    : QString();
        markChangedField(link, changed);
        if (!warning.isEmpty()) {
            link->setFaceColor(QColor(WarningColor));
        }
        link->setTip(warning);
        QStringList said;
        if (changed) {
            said << text(text::ChangedDescription);
        }
        if (!warning.isEmpty()) {
            said << warning;
        }
        link->setAccessibleDescription(said.join(QStringLiteral("; ")));
    }
}

void CPropKrosownica::open(int position) {
    const ProjectData* p = project();
    if (!p) {
        return;
    }
    const Terminal terminal = Terminal::at(position);
    const EditLabel label{text::ConnectionStep, {terminal.name()}};
    const EditKey key{SectionId::Outputs, position, 0};
    // Each OK is an action of its own: choosing twice for the same terminal makes two steps.
    endEditBurst();
    switch (terminal.kind) {
    case Terminal::Kind::Relay: {
        const auto relay = static_cast<std::uint8_t>(terminal.index);
        CSelOut chooser(context(), p, relay, this);
        if (context().dialogs.run(chooser) == QDialog::Accepted) {
            const int row = chooser.value();
            edit(label, key, [row, relay](ProjectData& project) { project.outputs().assignRelay(row, relay); });
        }
        break;
    }
    case Terminal::Kind::Input: {
        CSelIn chooser(context(), p, terminal.index, this);
        if (context().dialogs.run(chooser) == QDialog::Accepted) {
            const int row = chooser.value();
            const int entry = terminal.index;
            edit(label, key, [row, entry](ProjectData& project) { project.outputs().assignInputRow(entry, row); });
        }
        break;
    }
    case Terminal::Kind::ReturnInput: {
        CSelPowr chooser(context(), p, terminal.index, this);
        if (context().dialogs.run(chooser) == QDialog::Accepted) {
            const int row = chooser.value();
            const int entry = terminal.index;
            edit(label, key, [row, entry](ProjectData& project) { project.outputs().setReturnRow(entry, row); });
        }
        break;
    }
    }
    endEditBurst();
    reload();
    value(position)->setFocus(Qt::OtherFocusReason);
}

QString CPropKrosownica::wiringText() const {
    const ProjectData* p = project();
    return p ? QString::fromStdString(wiringTableText(*p, context().texts)) : QString();
}

void CPropKrosownica::copyTable() {
    const QString table = wiringText();
    if (!table.isEmpty()) {
        QGuiApplication::clipboard()->setText(table);
    }
}

} // namespace tolvane
