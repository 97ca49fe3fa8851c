// Preloaded into the program by the end-to-end runs under the leak checker.
//
// Libraries that a process loads and unloads again before it ends (Mesa's
// drivers, which Qt's Wayland platform loads to probe EGL and drops when the
// probe is done) leave what they leaked reported against "<unknown module>":
// no suppression can name them, and a leak of theirs fails the run on one
// machine and not on another. Kept loaded, their frames keep their names, so
// tests/lsan.supp can name exactly those libraries, and every leak of the
// program's own code is still reported with its stack.
extern "C" int dlclose(void* handle) {
    (void)handle;
    return 0;
}
