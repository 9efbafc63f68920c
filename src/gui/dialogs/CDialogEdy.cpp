#include "gui/dialogs/CDialogEdy.h"

#include "TextNumbers.h"
#include "gui/dialogs/DialogHelp.h"
#include "gui/widgets/CControlTipCtrl.h"
#include "gui/widgets/ControlText.h"
#include "gui/widgets/HelpKeys.h"

#include <QDialogButtonBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace tolvane {

CDialogEdy::CDialogEdy(AppContext& context, const ProjectData* project, QWidget* parent)
    : QDialog(parent), context_(context), project_(project), controlTips_(new CControlTipCtrl(this)),
      body_(new QVBoxLayout), buttons_(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this)) {
    okButton()->setObjectName(QStringLiteral("ok"));
    cancelButton()->setObjectName(QStringLiteral("cancel"));
    okButton()->setText(text(text::Ok));
    cancelButton()->setText(text(text::Cancel));
    okButton()->setDefault(true);
    connect(buttons_, &QDialogButtonBox::accepted, this, &CDialogEdy::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &CDialogEdy::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body_, 1);
    layout->addWidget(buttons_);
}

CDialogEdy::~CDialogEdy() = default;

QString CDialogEdy::text(int id) const {
    return QString::fromStdString(context_.texts.text(id));
}

QString CDialogEdy::tipText(int id) const {
    return QString::fromStdString(context_.texts.tipText(id));
}

void CDialogEdy::workOnCopy(std::initializer_list<SectionId> edited) {
    if (!project_) {
        return;
    }
    // Every part is copied, so what the dialog shows beside its own sections (a clock's type beside its relay,
    // the sequences beside an input) is the project's.
    copy_ = std::make_unique<ProjectData>();
    for (int i = 0; i < SectionIdCount; ++i) {
        const auto id = static_cast<SectionId>(i);
        copy_->setState(id, project_->state(id));
    }
    edited_.assign(edited.begin(), edited.end());
}

void CDialogEdy::commitTo(ProjectData& target) const {
    if (!copy_) {
        return;
    }
    for (SectionId id : edited_) {
        target.setState(id, copy_->state(id));
    }
}

bool CDialogEdy::commit(CTarvelinDoc& document, const EditLabel& label, const EditKey& key) const {
    if (!copy_) {
        return false;
    }
    // A dialog's OK is one complete action: never merged into the step before.
    document.endEditBurst();
    const bool changed = document.edit(label, key, [this](ProjectData& target) { commitTo(target); });
    document.endEditBurst();
    return changed;
}

void CDialogEdy::setChange(std::uint32_t bits, bool on) {
    changes_ = on ? (changes_ | bits) : (changes_ & ~bits);
}

void CDialogEdy::addControl(int id, QWidget* control) {
    if (!control) {
        return;
    }
    controls_.insert(id, control);
}

void CDialogEdy::setControlText(int id, const QString& string) {
    tolvane::setControlText(control(id), string);
}

void CDialogEdy::setItemText(int id, int textId) {
    if (QWidget* c = control(id)) {
        tolvane::setControlText(c, text(textId));
    }
}

void CDialogEdy::showControl(int id) {
    showControlIf(id, true);
}

void CDialogEdy::hideControl(int id) {
    showControlIf(id, false);
}

void CDialogEdy::showControlIf(int id, bool shown) {
    if (QWidget* c = control(id)) {
        c->setVisible(shown);
    }
}

void CDialogEdy::enableControl(int id, bool enabled) {
    if (QWidget* c = control(id)) {
        c->setEnabled(enabled);
    }
}

void CDialogEdy::markChangedField(int id, bool changed) {
    QWidget* c = control(id);
    changehighlight::markField(c, changed);
    describeChange(c, changed);
}

void CDialogEdy::markChangedLabel(int id, bool changed) {
    QWidget* c = control(id);
    changehighlight::markOption(c, changed);
    describeChange(c, changed);
}

void CDialogEdy::describeChange(QWidget* c, bool changed) {
    if (c) {
        c->setAccessibleDescription(changed ? text(text::ChangedDescription) : QString());
    }
}

void CDialogEdy::setHelpTip(int id, int tipId) {
    setHelpText(id, tipText(tipId));
}

void CDialogEdy::setHelpText(int id, const QString& string) {
    controlTips_->setTip(control(id), string);
    helpkeys::setWhatsThis(control(id), string);
}

void CDialogEdy::keyPressEvent(QKeyEvent* event) {
    if (!helpkeys::handle(this, event, dialogHelpTopic(metaObject()))) {
        QDialog::keyPressEvent(event);
    }
}

void CDialogEdy::helpRequested(QWidget* label) {
    controlTips_->activate(label);
}

void CDialogEdy::helpReleased(QWidget*) {
    controlTips_->deactivate();
}

QPushButton* CDialogEdy::okButton() const {
    return buttons_->button(QDialogButtonBox::Ok);
}

QPushButton* CDialogEdy::cancelButton() const {
    return buttons_->button(QDialogButtonBox::Cancel);
}

void CDialogEdy::accept() {
    if (acceptDialog()) {
        QDialog::accept();
    }
}

void CDialogEdy::showMessage(const QString& string) {
    context_.prompts.showMessage(this, string);
}

} // namespace tolvane
