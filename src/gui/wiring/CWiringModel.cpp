#include "gui/wiring/CWiringModel.h"

#include "TextNumbers.h"
#include "gui/app/CDataPage.h"
#include "project/ProjectData.h"
#include "project/TextFormat.h"
#include "report/WiringText.h"

#include <QBrush>
#include <QStringList>

namespace tolvane {

CWiringModel::CWiringModel(std::function<const ProjectData*()> project, const TextSource& texts, QObject* parent)
    : CListModel(parent), project_(std::move(project)), texts_(texts) {}

int CWiringModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

int CWiringModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 3;
}

QString CWiringModel::label(const LabelText& text) const {
    return QString::fromStdString(labelText(text, texts_));
}

QString CWiringModel::sharedRelayWarning(const OutputMap& map, int relay, const TextSource& texts) {
    const auto functions = wiring::relayFunctions(map, static_cast<std::uint8_t>(relay));
    if (functions.size() < 2) {
        return {};
    }
    QStringList names;
    for (const LabelText& function : functions) {
        names << QString::fromStdString(labelText(function, texts));
    }
    const Terminal terminal{Terminal::Kind::Relay, relay};
    return QString::fromStdString(formatText(texts.text(wiring::SharedRelayText),
                                             {terminal.name(), names.join(QStringLiteral(", ")).toStdString()}));
}

QVariant CWiringModel::data(const QModelIndex& index, int role) const {
    const ProjectData* project = project_();
    if (!index.isValid() || !project || index.row() >= rowCount()) {
        return {};
    }
    const WiringLine& line = lines_[static_cast<std::size_t>(index.row())];
    const bool changed = (project->outputs().changeMask() & line.terminal.maskBit()) != 0;
    auto warning = [&] {
        return line.shared ? sharedRelayWarning(project->outputs(), line.terminal.index, texts_) : QString();
    };
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case TerminalColumn:
            return QString::fromStdString(line.terminal.name());
        case DoesColumn:
            return label(line.does);
        default:
            return line.which ? label(*line.which) : QString();
        }
    case Qt::BackgroundRole:
        if (line.shared) {
            return QBrush(QColor(WarningColor));
        }
        return changed ? QVariant(QBrush(QColor(ChangedColor))) : QVariant();
    case Qt::ToolTipRole:
        return line.shared ? QVariant(warning()) : QVariant();
    case Qt::AccessibleDescriptionRole: {
        QStringList said;
        if (changed) {
            said << QString::fromStdString(texts_.text(text::ChangedDescription));
        }
        if (line.shared) {
            said << warning();
        }
        return said.isEmpty() ? QVariant() : QVariant(said.join(QStringLiteral("; ")));
    }
    default:
        return {};
    }
}

QVariant CWiringModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section > 2) {
        return {};
    }
    static constexpr int heads[] = {wiring::TerminalHeadText, wiring::DoesHeadText, wiring::WhichHeadText};
    return QString::fromStdString(texts_.text(heads[section]));
}

void CWiringModel::refresh() {
    beginResetModel();
    const ProjectData* project = project_();
    lines_ = project ? wiring::wiringLines(project->outputs()) : std::vector<WiringLine>{};
    endResetModel();
}

void CWiringModel::textsChanged() {
    emit headerDataChanged(Qt::Horizontal, 0, 2);
    if (!lines_.empty()) {
        emit dataChanged(index(0, 0), index(rowCount() - 1, 2));
    }
}

} // namespace tolvane
