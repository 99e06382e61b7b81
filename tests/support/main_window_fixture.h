#pragma once

// A program started to its main window over a drive that holds every
// database: both testaments, the three reference works (two headwords each)
// and the picture database (one record). Menu entries and navigation
// buttons are used as a user does.

#include "support/program_fixture.h"

#include "runtime/controls/caption_toolbar.h"
#include "runtime/controls/menu.h"
#include "sample_data.h"
#include "shell/frm_main.h"

#include <QAction>
#include <QToolButton>

#include <string>
#include <vector>

namespace testing_support {

class MainWindowTest : public ProgramTest {
public:
    void SetUp() override
    {
        ProgramTest::SetUp();
        makeNewTestament();
        makeOldTestament();
        const std::vector<sample::LookupRow> rows = {{1, "kmx", "entry one"}, {2, "\xA7" "b", "entry two"}};
        for (const char *name : {"Concordance", "Bible Dictionary", "Khmer Dictionary"})
            sample::makeLookupTable(system32() / name, rows);
        sample::makePictureTable(drive() / "Program Files" / "Velumir" / "Lib", {{1, "caption", {}, ""}});
        startToMainWindow();
    }

    velumir::frmMain &main() { return form<velumir::frmMain>(); }

    // Chooses the menu entry of that name.
    void choose(const std::string &entry)
    {
        main().menu(entry).action()->trigger();
        processEvents();
    }

    // Clicks the navigation toolbar's button of that number (from 1).
    void clickButton(int number)
    {
        main().Toolbar1().button(number)->click();
        processEvents();
    }
};

} // namespace testing_support
