// Modules that misbehave in the ways the host must survive, one kind per build:
//   HOST_THROWING   every call but the name throws a C++ exception
//   HOST_NULL       every text export hands back a null pointer, and GetChild says it has
//                   a window without storing one
//   HOST_NAME_ONLY  only GetName: no other information texts, no commands
#include <veldra/module.h>

#include <stdexcept>

extern "C" {

#if defined(HOST_THROWING)

VELDRA_MODULE_EXPORT const char *GetMainMeni(void)
{
    throw std::runtime_error("GetMainMeni");
}

VELDRA_MODULE_EXPORT const char *GetSubMeni(void)
{
    return "Vrzi";
}

VELDRA_MODULE_EXPORT const char *GetDescription(void)
{
    return "Modul, ki vrze izjeme";
}

VELDRA_MODULE_EXPORT const char *GetName(void)
{
    return "VRZI";
}

VELDRA_MODULE_EXPORT const char *GetVersion(void)
{
    return "1.0";
}

VELDRA_MODULE_EXPORT const char *GetOtherData(void)
{
    throw 42;
}

VELDRA_MODULE_EXPORT const char *ExecuteAdvanced(void *, void *, void *, void *, const char *)
{
    throw std::runtime_error("ExecuteAdvanced");
}

VELDRA_MODULE_EXPORT int GetChild(void **)
{
    throw std::runtime_error("GetChild");
}

VELDRA_MODULE_EXPORT void RefreshChild(const char *)
{
    throw std::runtime_error("RefreshChild");
}

VELDRA_MODULE_EXPORT void Close(void)
{
    throw std::runtime_error("Close");
}

#elif defined(HOST_NULL)

VELDRA_MODULE_EXPORT const char *GetMainMeni(void) { return nullptr; }
VELDRA_MODULE_EXPORT const char *GetSubMeni(void) { return nullptr; }
VELDRA_MODULE_EXPORT const char *GetDescription(void) { return nullptr; }
VELDRA_MODULE_EXPORT const char *GetName(void) { return nullptr; }
VELDRA_MODULE_EXPORT const char *GetVersion(void) { return nullptr; }
VELDRA_MODULE_EXPORT const char *GetOtherData(void) { return nullptr; }

VELDRA_MODULE_EXPORT const char *ExecuteAdvanced(void *, void *, void *, void *, const char *)
{
    return nullptr;
}

VELDRA_MODULE_EXPORT int GetChild(void **)
{
    return 1;
}

#elif defined(HOST_NAME_ONLY)

VELDRA_MODULE_EXPORT const char *GetName(void)
{
    return "SAMO_IME";
}

#else
#error "Build with HOST_THROWING, HOST_NULL or HOST_NAME_ONLY"
#endif
}
