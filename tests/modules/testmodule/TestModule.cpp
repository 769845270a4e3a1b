// A module that is nothing but its information texts, which the build gives it, so that
// the tests can make versions and relatives of one module.
#include <veldra/module.h>

extern "C" {

VELDRA_MODULE_EXPORT const char *GetMainMeni(void)
{
    return MODULE_MAIN_MENU;
}

VELDRA_MODULE_EXPORT const char *GetSubMeni(void)
{
    return MODULE_SUB_MENU;
}

VELDRA_MODULE_EXPORT const char *GetDescription(void)
{
    return MODULE_DESCRIPTION;
}

VELDRA_MODULE_EXPORT const char *GetName(void)
{
    return MODULE_NAME;
}

VELDRA_MODULE_EXPORT const char *GetVersion(void)
{
    return MODULE_VERSION;
}

VELDRA_MODULE_EXPORT const char *GetOtherData(void)
{
    return "";
}
}
