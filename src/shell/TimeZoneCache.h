#pragma once

// Dates are worked out in the workstation's time zone many thousands of times (a list of
// alarms, say). Unless the zone is named, the C library reads its file again for each:
// named once at start, it is read once.
void UseCachedTimeZone();
