#pragma once

#include "gui/app/CDataPage.h"
#include "gui/app/IconStrip.h"
#include "gui/schedules/CProgramModel.h"
#include "schedules/ScheduleProgram.h"

#include <array>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QRadioButton;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace tolvane {

class CFireEdit;
class CLinkStatic;
class CTrackEdytorCtrl;

// What a schedule page shows: its kind, its list columns and which date controls its editor has.
struct ProgramPageSpec {
    int kind = 0;
    int captionText = 0;
    std::vector<ProgramColumnSpec> columns;
    int dateLabelText = 233; // the label before the (start) date
    bool date = true;        // the (start) date row
    bool endDate = false;
    bool weekdays = false;
    bool parity = false;
    bool year = false;
};

// The common page of the schedules (weekly, holiday-day, annual, one-time and funeral tolling): Add, Delete and
// Copy, the list of programs in the section's order, the editor of the one selected program and the count of used
// entries. A holiday-day program chooses its holiday from the holiday table (the "..." button shows that table);
// the eight funeral tolling programs are always there, in their fixed order, without Add, Delete and Copy, and
// their editor has the funeral relay, the number of days, the start mode and three start times. Every field is stored
// as it is typed, one undo step per burst of typing in one field; Add, Copy, Delete, a number change and a column click
// are one step each and put the list in the order of the chosen column inside that step. An edit of a value the list
// is ordered by (a time, a date, a priority) puts the list in order again as the field is left, inside the edit's own
// step, and the program stays selected. Showing a page or selecting a program never changes the project: values the
// editor cannot show as stored are shown corrected and written with the user's next edit of that program. The page
// remembers the program the user was on: brought back from the tree, the overview or after an undo, it selects it
// again.
//
// Keyboard: Insert adds, Delete deletes the selected programs, Ctrl+D copies them, Ctrl+C puts them on the
// clipboard as text, Ctrl+V adds programs from the clipboard, F2 (or a double click) changes the program's number
// (all only while the list has the focus); Enter goes from the list into the editor, Escape back.
class CProgramPage : public CDataPage {
    Q_OBJECT
public:
    static constexpr int PageLimit = 128;
    // The edit-key field of the actions on the list as a whole (not a field of an entry).
    static constexpr int ListActionField = 100;

    // Texts of our own.
    static constexpr int TextAdd = 2050;
    static constexpr int TextDelete = 2051;
    static constexpr int TextCopy = 2052;
    static constexpr int TextHour = 2053;
    static constexpr int TextMinute = 2054;
    static constexpr int TextSecond = 2055;
    static constexpr int TextDay = 2056;
    static constexpr int TextMonth = 2057;
    static constexpr int TextYear = 2058;
    static constexpr int TextEvenMonths = 2059;
    static constexpr int TextOddMonths = 2060;
    static constexpr int TextMinutes = 2061;
    static constexpr int TextSeconds = 2062;
    static constexpr int TextDays = 2063;
    static constexpr int TextHours = 2064;
    static constexpr int TextSpecial = 2065;
    static constexpr int TextOff = 2066;
    static constexpr int TextGraph = 2067;
    static constexpr int TextSwitchOnDelay = 2068;
    static constexpr int TextYearDateHint = 2069;
    static constexpr int TextNotPrograms = 2070;
    static constexpr int TextAddStep = 2071;
    static constexpr int TextDeleteStep = 2072;
    static constexpr int TextCopyStep = 2073;
    static constexpr int TextPasteStep = 2074;
    static constexpr int TextEditStep = 2075;
    static constexpr int TextSortStep = 2076;
    static constexpr int TextNumberStep = 2077;
    static constexpr int TextHammer = 2078;
    static constexpr int TextShowHolidays = 2105;
    static constexpr int TextFuneralRelay = 2106;
    static constexpr int TextRelayDelay = 2107;
    static constexpr int TextStartMode = 2108;
    static constexpr int TextStartTime = 2109;
    static constexpr int TextFuneralStep = 2110;

    CProgramPage(AppContext& context, ProgramPageSpec spec, QWidget* parent = nullptr);

    void reload(int item = 0) override;
    // Selects again the program the user was on (it follows its program through every reordering of the list).
    void reloadKeepingRecord() override;
    void refreshTexts() override;
    void showItem(bool single, int item) override;
    void onSelectionChanged() override;
    void refreshMarks() override;

    int kind() const { return spec_.kind; }
    QTableView* list() const { return list_; }
    CProgramModel* model() const { return model_; }
    int sortKey() const { return sortKey_; }

protected:
    // The section of this page in the project.
    const ScheduleProgram* programs() const;

private:
    struct TimePair {
        QCheckBox* bell = nullptr;
        QLabel* firstColon = nullptr;
        QLabel* secondColon = nullptr;
        CFireEdit* minutes = nullptr;
        CFireEdit* seconds = nullptr;
        CFireEdit* secondMinutes = nullptr;
        CFireEdit* secondSeconds = nullptr;
    };

    void buildEditor();
    CFireEdit* numberField(const char* name, int lower, int upper, int width);
    QCheckBox* checkBox(const char* name);
    void connectField(CFireEdit* field, const std::function<void()>& store);
    QWidget* linkRow(QLabel*& label, CLinkStatic*& link, const char* name, void (CProgramPage::*open)());

    // User actions.
    void addProgram();
    void deleteSelected();
    void copySelected();
    void copyToClipboard();
    void pasteFromClipboard();
    void changeNumber();
    void sortByColumn(int section);
    void listAction(const EditLabel& label, int record,
                    const std::function<int(ProjectData&, ScheduleProgram&)>& change, int field = ListActionField);
    // Rebuilds the list and focuses `row` (after an action that changed the order or the count).
    void rebuild(int row);
    // The shown program's last edit is complete (its field was left, its box ticked): the list is put in the order
    // of the page's column again, inside that edit's undo step, and the program stays selected where it lands.
    void settleOrder();
    // Leaving a field: the order is settled and the next keystroke starts a new undo step.
    void finishField();
    // Shows the list in its new order with `row` selected, leaving the focus where the user is working.
    void showOrder(int row);

    // One edit of the shown program: the values the editor shows are written first, then `change`, as one step
    // (merged with the steps of the same field while the user types on).
    void editShown(int field, const std::function<void(ScheduleProgram&, int)>& change);

    // The editor.
    void showEntry(int row);
    void showActionControls(const ProgramEntry& e);
    // `keepUnrung`: the fields of a bell that is not rung keep what they show, so that ticking the bell again
    // gives back the times it had.
    void showBellControls(const ProgramEntry& e, bool keepUnrung = false);
    // The captions that follow the settings (the second column's name, the graph's texts), not only the language.
    void refreshBellTexts();
    void fillGraph(const ProgramEntry& e);
    void showMarks();
    void showPriorityLabel(const ProgramEntry& e);
    void showSeasonLabel();
    ProgramEntry shown(int row) const;

    // Handlers.
    void actionChosen(int position);
    void storeTime();
    void storeStartDate();
    void storeEndDate();
    void storeYear();
    void storePriority();
    void storeRingingTime();
    void storeSilence();
    void storeBellPair(int bell, bool second);
    void bellToggled(int bell, bool on);
    void weekdayToggled();
    void seasonToggled();
    void parityToggled(bool weeks);
    void silenceTargetsToggled();
    void graphValueChanged(int trackNumber, bool second);
    void chooseSequence();
    void chooseHammer();
    void holidayChosen(int position);
    void showHolidayTable();
    void timeOnToggled(int which, bool on);
    void startModeChosen(FuneralStartMode mode);
    void storeTime2or3(int which);
    void relayToggled(bool on);

    // Holiday-day and funeral parts of the editor.
    void buildHolidayControls(QGridLayout* grid);
    void buildFuneralControls(QGridLayout* grid);
    void showHolidayChoice(const ProgramEntry& e);
    void showFuneralControls(const ProgramEntry& e);
    void enableFuneralTimes(const ProgramEntry& e);
    void refreshFuneralTexts();

    QString sequenceText(const ProgramEntry& e) const;
    QString hammerText(const ProgramEntry& e) const;
    QIcon actionIcon(int index) const;
    QString formatted(int id, long long n) const;
    SectionId sectionId() const { return static_cast<SectionId>(spec_.kind); }

    ProgramPageSpec spec_;
    IconStrip actionIcons_;
    IconStrip buttonIcons_;
    int sortKey_ = 0;
    bool reloading_ = false;
    // The program the user was on (the list's current row), kept while the page lives.
    int focused_ = 0;
    // The shown program was edited since its order was last settled: the step to settle it in.
    bool orderPending_ = false;
    EditLabel pendingLabel_;
    EditKey pendingKey_;
    CProgramModel* model_ = nullptr;
    QTableView* list_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* copy_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QLabel* count_ = nullptr;
    QWidget* editor_ = nullptr;

    QLabel* actionLabel_ = nullptr;
    QComboBox* actionList_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    CFireEdit* hour_ = nullptr;
    CFireEdit* minute_ = nullptr;
    CFireEdit* second_ = nullptr;
    QLabel* dateLabel_ = nullptr;
    CFireEdit* startDay_ = nullptr;
    CFireEdit* startMonth_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLabel* dateHint_ = nullptr;
    QLabel* endLabel_ = nullptr;
    CFireEdit* endDay_ = nullptr;
    CFireEdit* endMonth_ = nullptr;
    QLabel* weekdaysLabel_ = nullptr;
    std::array<QCheckBox*, 7> weekdays_{};
    QLabel* priorityLabel_ = nullptr;
    CFireEdit* priority_ = nullptr;
    QLabel* specialLabel_ = nullptr;
    QCheckBox* summer_ = nullptr;
    QCheckBox* winter_ = nullptr;
    QLabel* offLabel_ = nullptr;
    QCheckBox* angelus_ = nullptr;
    QCheckBox* evenWeeks_ = nullptr;
    QCheckBox* oddWeeks_ = nullptr;
    QCheckBox* evenMonths_ = nullptr;
    QCheckBox* oddMonths_ = nullptr;

    QWidget* bellPanel_ = nullptr;
    std::array<TimePair, 5> bells_{};
    QLabel* firstColumnLabel_ = nullptr;
    QLabel* secondColumnLabel_ = nullptr;
    QLabel* ringingLabel_ = nullptr;
    CFireEdit* ringingMinutes_ = nullptr;
    CFireEdit* ringingSeconds_ = nullptr;
    CTrackEdytorCtrl* graph_ = nullptr;

    QWidget* melodyPanel_ = nullptr;
    QLabel* melodyLabel_ = nullptr;
    CFireEdit* melody_ = nullptr;
    QLabel* repetitionsLabel_ = nullptr;
    CFireEdit* repetitions_ = nullptr;

    QWidget* hammerPanel_ = nullptr;
    QLabel* hammerLabel_ = nullptr;
    CLinkStatic* hammer_ = nullptr;
    QWidget* sequencePanel_ = nullptr;
    QLabel* sequenceLabel_ = nullptr;
    CLinkStatic* sequence_ = nullptr;

    QWidget* silencePanel_ = nullptr;
    QLabel* silenceLabel_ = nullptr;
    CFireEdit* silenceDays_ = nullptr;
    CFireEdit* silenceHours_ = nullptr;
    CFireEdit* silenceMinutes_ = nullptr;
    CFireEdit* silenceSeconds_ = nullptr;
    QCheckBox* silenceBells_ = nullptr;
    QCheckBox* silenceGongs_ = nullptr;

    // Holiday-day programs: the holiday list and the button to the holiday table; the holiday a new program gets.
    QWidget* holidayPanel_ = nullptr;
    QLabel* holidayLabel_ = nullptr;
    QComboBox* holidayList_ = nullptr;
    QPushButton* holidayButton_ = nullptr;
    int rememberedHoliday_ = 0;

    // Funeral tolling.
    std::array<QCheckBox*, 3> timeOn_{};
    std::array<std::array<CFireEdit*, 3>, 2> laterTimes_{}; // times 2 and 3: hour, minute, second
    std::array<QWidget*, 2> laterTimeRows_{};
    QCheckBox* relay_ = nullptr;
    QLabel* relayDelayLabel_ = nullptr;
    CFireEdit* relayDelay_ = nullptr;
    QLabel* relayUnit_ = nullptr;
    QLabel* funeralDaysLabel_ = nullptr;
    CFireEdit* funeralDays_ = nullptr;
    QGroupBox* startMode_ = nullptr;
    QRadioButton* byClock_ = nullptr;
    QRadioButton* beforeAngelus_ = nullptr;
    QRadioButton* afterAngelus_ = nullptr;
};

} // namespace tolvane
