#pragma once

#include "common/TIntList.h"

#include <QString>
#include <cstdint>

// One entry of a process snapshot: the process id and the bare file name of its program.
struct ProcessEntry {
    int32_t ProcessId = 0;
    QString ExeName;
};

// A snapshot of the running processes whose program file can be read, in /proc order.
// The name is the bare file name of the program (never a path), as the Windows snapshot
// reports it.
QList<ProcessEntry> TakeProcessSnapshot();

// Fills list (cleared first) with the ids of the processes whose program matches
// program: the upper-case file-name part of a process's name, or the whole name, equals
// program in upper case. A full path therefore matches no process, since snapshot names
// are bare names.
void ListProcessesByProgram(const QString &program, TIntList &list);

// True while a process with this id exists (also a zombie that has not been reaped).
bool IsProcessAlive(int32_t processId);
