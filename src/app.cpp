#include "app.h"

#include "shell/frm_log_on.h"
#include "shell/frm_main.h"

#include "runtime/forms/program.h"
#include "runtime/system/fonts.h"
#include "runtime/system/program_files.h"

#include <QtGlobal>

static void initVelumirResources()
{
    Q_INIT_RESOURCE(resources);
}

namespace velumir {

void initResources()
{
    static const bool done = [] {
        initVelumirResources();
        return true;
    }();
    (void)done;
}

void loadFonts(const rt::Program &program)
{
    // The fonts the windows name, as a Windows installation's Fonts folder
    // holds them; then stand-ins for those still missing.
    static const QStringList families = {"Limon S1", "Limon R1", "Limon R2", "Limon F3", "MS Sans Serif"};
    rt::loadWindowsFonts(program.drive(), families);
    rt::loadStandInFonts(rt::programData("fonts"));
}

void start(rt::Program &program)
{
    initResources();
    loadFonts(program);
    program.setMdiParentClass<frmMain>();
    program.form<frmLogOn>().Show();
}

} // namespace velumir
