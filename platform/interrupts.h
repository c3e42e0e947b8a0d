#pragma once
// Interrupt and termination requests (Ctrl+C, SIGTERM, a closed terminal)
// for a program that must tidy up before it ends.

// The handler is told which signal came (SIGINT, SIGTERM, SIGHUP).
typedef void (*InterruptHandler)(int signal);

// Runs handler, in signal context, on each request. A wait in progress
// (poll, a sleep) is cut short rather than resumed. The handler may only do
// what is safe there: set a flag, close a descriptor, _exit.
void platform_catch_interrupts(InterruptHandler handler);

// Ends the process at once with this status, without running exit handlers
// (safe inside an interrupt handler).
[[noreturn]] void platform_exit_now(int status);
