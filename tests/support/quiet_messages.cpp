#include "support/quiet_messages.h"

#include <QString>
#include <QtGlobal>

namespace testing_support {

namespace {

QtMessageHandler standardHandler = nullptr;

void quietMessages(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith("This plugin does not support") || message.startsWith("QStandardPaths: XDG_RUNTIME_DIR"))
        return;
    if (standardHandler)
        standardHandler(type, context, message);
}

} // namespace

void quietOffscreenMessages()
{
    standardHandler = qInstallMessageHandler(quietMessages);
}

} // namespace testing_support
