// The settings half of Apply: every setting of the tree written in a fixed order, each followed by the
// system call that makes it take effect at once where there is one. The catalogue's rows say what.
#include "apply/apply.h"

#include "session/session.h"
#include "settings/settings_catalogue.h"

void ApplySettings(Session& session, SystemPort& system) {
    SettingWriteContext context{session.Settings, session.Facts, system, session.SelectedTab};
    WriteSettings(context);
}
