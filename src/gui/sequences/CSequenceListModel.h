#pragma once

#include "gui/app/CListModel.h"

#include <QColor>

#include <functional>

namespace tolvane {

class ProjectData;
class TextSource;

// The sequence list of the sequences page: one row per sequence in use, in record order, with its name, total
// time and number of steps. A changed sequence is drawn on light green and read out as changed.
class CSequenceListModel : public CListModel {
    Q_OBJECT
public:
    static constexpr int NameColumn = 0;
    static constexpr int TotalColumn = 1;
    static constexpr int StepsColumn = 2;
    static constexpr QRgb ChangedColor = 0xffbbffbb; // RGB(0xBB, 0xFF, 0xBB)

    CSequenceListModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                       const TextSource& texts, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Captions after a language change; marks after a save.
    void textsChanged();

private:
    std::function<const ProjectData*()> project_;
    std::function<QString(int)> text_;
    const TextSource& texts_;
};

// The step list of the selected sequence: each defined step with what it does and how long it takes.
class CStepListModel : public CListModel {
    Q_OBJECT
public:
    static constexpr int StepColumn = 0;
    static constexpr int DurationColumn = 1;

    CStepListModel(std::function<const ProjectData*()> project, std::function<QString(int)> text,
                   const TextSource& texts, QObject* parent = nullptr);

    // The sequence shown (a record index, -1 for none); the caller refreshes around it.
    void setSequence(int sequence) { sequence_ = sequence; }
    int sequence() const { return sequence_; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void textsChanged();

private:
    std::function<const ProjectData*()> project_;
    std::function<QString(int)> text_;
    const TextSource& texts_;
    int sequence_ = -1;
};

} // namespace tolvane
