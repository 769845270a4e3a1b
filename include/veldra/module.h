/*
 * Veldra plug-in module interface.
 *
 * A module is a shared library in the folder "Moduli" beside the program file. The
 * program looks its exports up by these exact names; every export is optional. All
 * calls come from the program's user-interface thread, one at a time.
 *
 * Texts are zero-terminated UTF-8. A text a module returns stays the module's: the
 * program copies it as soon as the call returns and never frees it. The six
 * information texts are also copied before the library is unloaded after a scan, so
 * they must live in the library's static storage, not in memory freed on unloading.
 *
 * The program's objects are passed as opaque pointers to its Qt objects: the
 * application is the QApplication, the screen the QScreen of the owner window, the
 * owner form the top-level QWidget that sends the command, the parent control the
 * QWidget in which the module's windows are to live. A module never frees them. The
 * child window that VeldraGetChild hands over is a QWidget; from then on it belongs to
 * the program, which reparents it and destroys it.
 *
 * A module built with Qt must use the same major Qt version as the program and link
 * Qt as shared libraries, so that the pointers above are the objects it knows. See
 * docs/modules.md for the commands, their replies and the database connection.
 *
 * Copyright (c) the Veldra developers. MIT licence, see LICENSE.
 */
#ifndef VELDRA_MODULE_H
#define VELDRA_MODULE_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define VELDRA_MODULE_EXPORT __declspec(dllexport)
#else
#define VELDRA_MODULE_EXPORT __attribute__((visibility("default")))
#endif

/* The six information exports, called at every scan of the folder:
 *   GetMainMeni     the caption of the top-level menu the module's item hangs under
 *   GetSubMeni      "<item caption>/<caption>,<hint>,<icon number>;..." (the sub-items are optional)
 *   GetDescription  the hint of the module's menu item, shown by the module manager too
 *   GetName         the module's identity in every command; "VELDRAPOVEZAVA..." for a link module
 *   GetVersion      compared as text by the module manager
 *   GetOtherData    a link module's "<ProgID>;<title>;<N>/<column title>,<icon number>,<query command>/..."
 */
typedef const char *(*VeldraTextFunction)(void);

/* "ExecuteAdvanced": a command ("APPEND;12", "FROMMENI;Računi;12", ...); returns the
 * reply ("OK", a record number, or a message), or a null pointer for none. */
typedef const char *(*VeldraExecuteAdvancedFunction)(void *application, void *screen, void *ownerForm,
                                                      void *parentControl, const char *command);

/* "GetChild": stores the module's child window (a QWidget pointer) in *child and returns
 * non-zero, or returns 0 when the module has none yet (the program then sends
 * "CREATECHILD" and asks again). */
typedef int (*VeldraGetChildFunction)(void **child);

/* "RefreshChild": "REFRESH;<IDOsebe>;<InProgIDOsebe>" when the program shows the child
 * window for a person, with 0 as the record number when the person is not linked. */
typedef void (*VeldraRefreshChildFunction)(const char *command);

/* "Close": once, when the program ends; the module lets go of what it holds. */
typedef void (*VeldraCloseFunction)(void);

#ifdef __cplusplus
}
#endif

#endif
