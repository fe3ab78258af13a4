#pragma once

// dosemeter-sim: serves a virtual dose meter on a pseudo-terminal.
//   dosemeter-sim [--memory FILE | --demo-memory] [--save-memory FILE] [--print-settings]
//                 [--status BYTE] [--threshold DB] [--mode dba|dose|clock|date]
//                 [--level DB] [--locked] [--battery N] [--key-delay SECONDS]
//                 [--link PATH] [--fault LIST] [--seed N]
//   dosemeter-sim --help | --version
// Prints "port: /dev/pts/N" as its first line, serves until SIGINT or SIGTERM, then
// prints the settings (--print-settings), writes the memory image (--save-memory) and
// exits 0. Exit status 2 for a bad option (nothing served), 1 when the terminal, the link
// or the saved image fails. With the fault vanish-after=SECONDS the terminal (and the
// --link) goes away after that time, and the program goes on running until SIGINT or
// SIGTERM.

#include "sim/VirtualMeter.h"

#include <QString>
#include <QStringList>

#include <optional>

class Simulator {
public:
    enum Exit { kOk = 0, kFailed = 1, kUsage = 2 };

    struct Options {
        QString memoryFile; // binary register image from address 0
        bool demoMemory = false;
        QString saveMemoryFile;
        bool printSettings = false;   // "settings: status 0xSS threshold DB" at exit
        std::optional<int> status;    // 0..255
        std::optional<int> threshold; // dB, 0..255
        std::optional<VirtualMeter::DisplayMode> mode;
        std::optional<double> level; // fixed level in dB, 0..199.9
        bool locked = false;
        std::optional<int> battery;   // 0..7
        double keyDelaySeconds = 0.0; // see VirtualMeter::setKeyDelay()
        QString linkPath;             // a symbolic link to the terminal
        VirtualMeter::Faults faults;
        quint32 seed = 1;
    };

    enum class Parse { Run, Help, Version, Error };
    // Reads the command line (arguments[0] is the program). Help, Version: `message` is
    // the usage text or the version line; Error: `message` says what is wrong.
    static Parse parseOptions(const QStringList &arguments, Options &options, QString &message);
    // Fault list "drop=P,corrupt=P,short=P,stall-after=N,silent,stuck-menu,
    // vanish-after=SECONDS" (P: 0..1) into `faults`.
    static bool parseFaults(const QString &text, VirtualMeter::Faults &faults, QString &message);
    // Sets the meter up from the options (reads --memory). False with `message`.
    static bool configure(const Options &options, VirtualMeter &meter, QString &message);

    // The whole program; app/dosemeter-sim.cpp only calls this (inside a
    // QCoreApplication).
    static int run(const QStringList &arguments);
};
