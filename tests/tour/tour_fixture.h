// A walk through the control panel as an administrator goes through it:
// every page entered from the menu and left again, every jump the pages
// make between themselves and back, each kind of box over a page, and the
// lists on full pages. After every step, once the screen has settled, each
// check given to AfterEachStep runs with the step's name.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "data/RecordStore.h"
#include "tests/users/users_fixture.h"

struct TourStep {
    std::string name;
    std::vector<std::string> lines;  // script lines
};

class TourTest : public UsersTest {
protected:
    using StepCheck = std::function<void(const std::string& step)>;

    TourTest();
    ~TourTest() override;

    void AfterEachStep(StepCheck check) { m_checks.push_back(std::move(check)); }
    // After every step: what the screen shows is what its windows paint
    // when they all paint afresh (the pictures of a step that fails are kept
    // in the working folder), and every text on it is seen whole.
    void CheckEachStepIn(const std::string& language);
    // Takes the whole tour with the texts of `language` ("English",
    // "Chinese").
    void Walk(const char16_t* language);
    // Takes `steps` only; the panel opens on the enrolment page.
    void Walk(const char16_t* language, const std::vector<TourStep>& steps);

    // The steps of the whole tour.
    std::vector<TourStep> Tour();

    int stepsTaken = 0;

private:
    std::unique_ptr<CRecordStore> m_records;
    std::vector<StepCheck> m_checks;
};
