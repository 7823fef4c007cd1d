#include "ShellWindows.h"

#include "Admin.h"
#include "Indito2.h"
#include "JelszoMod.h"
#include "OpenWindow.h"

void RegisterShellWindows()
{
    RegisterWindowOf<Tform_Admin>(QStringLiteral("form_Admin"));
    RegisterWindowOf<Tform_JelszoMod>(QStringLiteral("form_JelszoMod"));
    RegisterWindowOf<Tform_Indito2>(QStringLiteral("form_Indito2"));
}
