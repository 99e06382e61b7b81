#include "app.h"

#include "shell/frm_log_on.h"
#include "shell/frm_main.h"

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

void start(rt::Program &program)
{
    initResources();
    program.setMdiParentClass<frmMain>();
    program.form<frmLogOn>().Show();
}

} // namespace velumir
