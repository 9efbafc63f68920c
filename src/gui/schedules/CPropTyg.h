#pragma once

#include "gui/schedules/CProgramPage.h"

namespace tolvane {

// The weekly programs: on chosen weekdays within a yearly window, in the chosen seasons, weeks and months.
class CPropTyg : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropTyg(AppContext& context, QWidget* parent = nullptr);
};

// The annual programs: every year on one day.
class CPropRok : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropRok(AppContext& context, QWidget* parent = nullptr);
};

// The one-time programs: once, on a day of a year.
class CPropJed : public CProgramPage {
    Q_OBJECT
public:
    explicit CPropJed(AppContext& context, QWidget* parent = nullptr);
};

} // namespace tolvane
