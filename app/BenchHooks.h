#pragma once
// Measurement hooks for benchmarks/startup/run.sh, switched on by environment
// variables. Without them nothing is created and nothing is watched.
//
//   QN_BENCH_EXIT_ON_PAINT=1  prints "first_paint_us <wall-clock µs>" once the
//                             main window's first painting is on screen, and
//                             ends the program.
//   QN_BENCH_SWITCHES=N       after the first painting and the check of the
//                             notes file: N week switches as a user makes
//                             them (a click on a day of another week in the
//                             calendar, every sixth one Page Up), each timed
//                             from the click to the painting on screen and
//                             printed as "switch_us <µs> <CPU µs of the
//                             main thread> <Monday's key>";
//                             then, once the program has settled, its memory
//                             ("vmrss_kb", "pss_kb") and the end. N = 0
//                             gives the memory after start-up alone.
//   QN_BENCH_PAUSE_MS=M       the pause between two switches (default 60).

class TMainFrm;

namespace qn {
class BackgroundFileCheck;
}

namespace qn::bench {

void StartHooks(TMainFrm& window, BackgroundFileCheck& check);

}  // namespace qn::bench
