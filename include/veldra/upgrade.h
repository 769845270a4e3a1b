/*
 * Veldra upgrade library interface.
 *
 * Veldra fetches no upgrades itself: it hands them to one shared library that the
 * program INI names (section SETTINGS, key UpgradeProg) and that knows where new
 * versions are published. The program looks its exports up by these exact names; every
 * export is optional. All calls come from the program's user-interface thread, one at a
 * time, and the program waits for each to return, however long the network takes.
 *
 * The library is loaded for one check and unloaded right after it, so it keeps no state
 * in memory from one check to the next and leaves no thread or timer running.
 *
 * Texts are zero-terminated UTF-8. A text the library returns stays the library's: the
 * program copies it as soon as the call returns and never frees it. A text the program
 * passes lives only for the call.
 *
 * See docs/upgrade.md for the order of the calls and what the program does with a reply.
 *
 * Copyright (c) the Veldra developers. MIT licence, see LICENSE.
 */
#ifndef VELDRA_UPGRADE_H
#define VELDRA_UPGRADE_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32)
#define VELDRA_UPGRADE_EXPORT __declspec(dllexport)
#else
#define VELDRA_UPGRADE_EXPORT __attribute__((visibility("default")))
#endif

/* Replies of "GetLastVersion" that are no version. Any other non-empty reply that
 * differs from the program's own version (compared exactly, blanks included) starts the
 * upgrade. An empty reply or a null pointer means the library has nothing to say. */
#define VELDRA_UPGRADE_REPLY_ERROR "//ERROR//"       /* the library's settings cannot be found */
#define VELDRA_UPGRADE_REPLY_CHECKDAY "//CHECKDAY//" /* the version check has expired */

/* "Init": after every load, with the absolute path of the library file itself. */
typedef void (*VeldraUpgradeInitFunction)(const char *libraryPath);

/* "InternetUpgrade": non-zero when the library looks for versions over the internet.
 * Then the program asks at start-up only as often as the user's interval allows, and the
 * settings window offers the interval and "Preveri zdaj". A missing export counts as 0. */
typedef int (*VeldraUpgradeInternetFunction)(void);

/* "GetLastVersion": the latest version, or one of the replies above.
 *   programPath  the full path of the program file
 *   days         the user's interval between checks; 1 for a forced check
 *   forced       non-zero when the user asked (or the library checks without internet) */
typedef const char *(*VeldraUpgradeLastVersionFunction)(const char *programPath, int days, int forced);

/* "ExecuteUpgrade": only after a reply that names another version. reserved is always 0;
 * parameters are three values in double quotes, separated by one blank: the product, the
 * program's version and the program file's full path, for example
 *   "Veldra" "2.310" "/opt/veldra/veldra"
 * The program unloads the library and ends as soon as this returns, so the upgrade must
 * run in a process of its own by then. */
typedef void (*VeldraUpgradeExecuteFunction)(int reserved, const char *parameters);

#ifdef __cplusplus
}
#endif

#endif
