#pragma once
// The time texts of compact discs and songs: the drive's length replies
// ("mm:ss:ff", minutes, seconds and frames) as time values, and playing times as
// the short minutes-and-seconds texts of track lists, reports and labels.
#include <QString>

namespace cx
{

// A length reply "mm:ss:ff" as a time value: frames "99" round up to the next
// second, other frames are dropped; 60 seconds or more carry into the minutes
// and 60 minutes or more into one hour ("04:05:20" is 24501). A reply not of
// this form is 0 (no time).
qint64 mciTimeToTime(const QString &reply);

// Five characters: the minutes (hours included) right-aligned in two places, a
// colon and two-digit seconds (" 4:05", "65:00"); five blanks for no time. From
// 100 minutes on the text is longer rather than wrong.
QString formatMinSec(qint64 time);

// The minutes-and-seconds text the album wizards keep with each song: the last
// five characters of the time under @t4 ("04:05"); hours are not shown.
QString minutesSecondsText(qint64 time);

} // namespace cx
