#pragma once
// The one record through which every engine routine reports failure.
#include <cstdint>

#include "core/message_codes.h"

namespace qx {

// Module letters. Numbered libraries use the value 1 (shown as 'L').
enum : int32_t {
    kLetterLib = 1,
    kLetterA = 'A',
    kLetterC = 'C',
    kLetterF = 'F',
    kLetterS = 'S',
    kLetterW = 'W',
};

// Where a routine sits: module letter, module number, routine number.
struct Origin {
    int32_t letter;
    int32_t module;
    int32_t routine;
};

struct ErrStat {
    int32_t point = 0;  // 0: no error
    int32_t letter = 0;
    int32_t module = 0;
    int32_t routine = 0;
    int32_t detail = 0;    // never shown: the number of the function that failed
    int32_t position = 0;  // errno of a formula error, or a syntax position
    int32_t savedPoint = 0;
    int32_t savedLetter = 0;
    int32_t savedModule = 0;
    int32_t savedRoutine = 0;
    int32_t savedDetail = 0;
    int32_t savedPosition = 0;
    int32_t savedCode = 0;
    int32_t code = 0;

    bool failed() const { return point != 0; }

    // Every engine routine calls this first: clears point, trace and detail, keeps the rest.
    void enter() { point = letter = module = routine = detail = 0; }

    // Writes the trace; the first stamp after a clear fixes the saved origin.
    void stamp(int32_t l, int32_t m, int32_t r) {
        letter = l;
        module = m;
        routine = r;
        if (savedPoint == 0) {
            savedPoint = point;
            savedLetter = letter;
            savedModule = module;
            savedRoutine = routine;
            savedDetail = detail;
            savedPosition = position;
            savedCode = code;
        }
    }
    void stamp(Origin o) { stamp(o.letter, o.module, o.routine); }

    // Records a failure at `p` with message code `c` of the origin letter's table and stamps it;
    // returns false for `return err.fail(...)`.
    template <MessageCode Code>
    bool fail(Origin o, int32_t p, Code c) {
        point = p;
        code = codeOf(c);
        stamp(o);
        return false;
    }
    // Whether the recorded code is `c` (meaningful for the table of the letter that failed).
    template <MessageCode Code>
    bool is(Code c) const {
        return code == codeOf(c);
    }
    // A caller that saw a failure adds its own trace.
    void trace(Origin o) {
        if (point != 0) stamp(o);
    }
    void clear() { *this = ErrStat{}; }
};

}  // namespace qx
