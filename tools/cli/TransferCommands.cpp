// Transfers with the instrument: receive-library, write-library, receive-programs,
// write-programs, send-current, receive-current. Each runs the same transfer process as the
// librarian's menu commands, on the communication thread, with a progress bar on standard error.

#include "CliCommand.h"
#include "CliDeviceScan.h"

#include "application/CPXRResource.h"
#include "file/AnyFileReader.h"
#include "file/LibraryFiles.h"
#include "midi/MidiCommunicationProcesses.h"
#include "midi/MidiCommunicationTask.h"
#include "midi/MidiDeviceManager.h"

#include <csignal>
#include <iostream>
#include <memory>
#include <set>

#include <unistd.h>

namespace tarnombi::cli
{
namespace
{
    // Exit status when the ports cannot be opened (no process ran).
    constexpr int PortFailureStatus = x38200_midi::MidiCommunicationErrorFailedToOpenDialog;
    // Exit status when the transfer succeeded but the received data could not be saved.
    constexpr int SaveFailureStatus = 1;

    const juce::StringArray valueOptions { "--api", "--in", "--out", "--programs", "--into", "--program" };

    volatile std::sig_atomic_t interruptRequested = 0;

    void onInterrupt (int)
    {
        interruptRequested = 1;
        // A second Ctrl-C ends the tool at once.
        std::signal (SIGINT, SIG_DFL);
    }

    juce::File argumentFile (const juce::String& path)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (path);
    }

    // "1,5-8" -> the program numbers 0, 4, 5, 6, 7 (ascending, each once). False when the
    // list holds anything but numbers and ranges from 1 to 300.
    bool parseProgramList (const juce::String& text, std::vector<int>& numbers)
    {
        std::set<int> found;
        for (auto item : juce::StringArray::fromTokens (text, ",", {}))
        {
            item = item.trim();
            auto first = item.upToFirstOccurrenceOf ("-", false, false).trim();
            auto last = item.contains ("-") ? item.fromFirstOccurrenceOf ("-", false, false).trim() : first;
            if (first.isEmpty() || last.isEmpty() || ! first.containsOnly ("0123456789") || ! last.containsOnly ("0123456789")
                || first.length() > 3 || last.length() > 3)
                return false;
            const int from = first.getIntValue();
            const int to = last.getIntValue();
            if (from < 1 || to > x38200_data::LibraryData::NumPrograms || from > to)
                return false;
            for (int n = from; n <= to; ++n)
                found.insert (n - 1);
        }
        numbers.assign (found.begin(), found.end());
        return ! numbers.empty();
    }

    // Draws the process's progress on standard error: one redrawn line on a terminal, a line
    // per tenth otherwise.
    class ProgressPrinter
    {
    public:
        explicit ProgressPrinter (midi::MidiCommunicationProcess& p) : process (p), terminal (isatty (STDERR_FILENO) != 0) {}

        void draw()
        {
            const int percent = juce::jlimit (0, 100, (int) (process.getProgress() * 100.0f + 0.5f));
            const int width = 30;
            const int filled = percent * width / 100;
            const auto bar = "[" + juce::String::repeatedString ("#", filled) + juce::String::repeatedString ("-", width - filled) + "] "
                             + juce::String (percent).paddedLeft (' ', 3) + "%";
            if (terminal)
            {
                const auto line = bar + "  " + process.getStatusMessage();
                if (line == lastLine)
                    return;
                lastLine = line;
                std::cerr << '\r' << line.toStdString() << "\x1b[K" << std::flush;
                drawn = true;
            }
            else if (percent / 10 != lastTenth)
            {
                lastTenth = percent / 10;
                std::cerr << bar.toStdString() << std::endl;
            }
        }

        void finish()
        {
            if (terminal && drawn)
                std::cerr << std::endl;
        }

    private:
        midi::MidiCommunicationProcess& process;
        const bool terminal;
        bool drawn = false;
        int lastTenth = -1;
        juce::String lastLine;
    };

    struct PortSettings
    {
        juce::String api, in, out;
    };

    int checkPortOptions (const juce::String& command, const juce::StringArray& args, PortSettings& ports)
    {
        ports.api = getOptionValue (args, "--api");
        if (hasOption (args, "--api") && ports.api != "alsa" && ports.api != "jack")
            return fail ("tarnombi " + command + ": --api takes alsa or jack", 2);
        ports.in = getOptionValue (args, "--in");
        ports.out = getOptionValue (args, "--out");
        if (hasOption (args, "--in") != hasOption (args, "--out") || (hasOption (args, "--in") && (ports.in.isEmpty() || ports.out.isEmpty())))
            return fail ("tarnombi " + command + ": --in and --out name the two ports together", 2);
        for (const auto& arg : args)
            if (arg.startsWith ("--") && ! valueOptions.contains (arg) && arg != "--yes")
                return fail ("tarnombi " + command + ": unknown option " + arg, 2);
        return 0;
    }

    // Opens the ports: those the scanner finds, or the ones named. False after printing the
    // port failure text.
    bool connect (const PortSettings& ports)
    {
        if (ports.api.isNotEmpty())
            midi::setMidiBackend (midi::createSystemMidiBackend (ports.api));
        auto& manager = midi::MidiDeviceManager::instance();
        manager.setDeviceFamilyId (x38200_midi::TarnOMBIFamilyID);
        if (ports.in.isNotEmpty())
        {
            manager.setAutoDeviceScan (false);
            manager.setManualMidiInputPort (ports.in);
            manager.setManualMidiOutputPort (ports.out);
        }
        else
        {
            runDeviceScan (manager);
        }
        if (manager.connect())
            return true;
        std::cerr << getLocalizedString (manager.isFoundMidiDevice() ? "ConnectionErrorFailedToOpenPort" : "ConnectionErrorNotFoundTarnOmbi")
                         .toStdString()
                  << std::endl;
        return false;
    }

    // Runs the process on the communication thread with the ports open; returns its result code.
    int runProcess (midi::MidiCommunicationProcess& process, const PortSettings& ports)
    {
        if (! connect (ports))
            return PortFailureStatus;

        ProgressPrinter printer (process);
        midi::MidiCommunicationThread thread (process);
        interruptRequested = 0;
        auto previousHandler = std::signal (SIGINT, onInterrupt);
        thread.startThread();
        bool interruptNoted = false;
        // The progress is read directly from the process a few times a second: running the
        // message loop here would wake this thread every millisecond for nothing.
        while (! thread.hasFinished())
        {
            juce::Thread::sleep (40);
            printer.draw();
            if (interruptRequested && ! interruptNoted)
            {
                interruptNoted = true;
                if (process.isSupportedCancel())
                    thread.signalThreadShouldExit();
                else
                    std::cerr << "\nThis transfer cannot be cancelled; it ends in a few seconds (Ctrl-C again to quit at once)." << std::endl;
            }
        }
        std::signal (SIGINT, previousHandler == SIG_ERR ? SIG_DFL : previousHandler);
        thread.stopThread (-1);
        midi::MidiDeviceManager::instance().disconnect();
        printer.draw();
        printer.finish();

        const int result = thread.getResult();
        if (process.isSucceeded (result))
        {
            printLine (x38200_midi::getMidiCommunicationErrorString (result));
            return result;
        }
        std::cerr << process.getStatusMessage().toStdString() << std::endl;
        if (const auto detail = process.getDetailMessage(); detail.isNotEmpty())
            std::cerr << detail.toStdString() << std::endl;
        return result;
    }

    // Writes replace what the instrument holds: they ask on a terminal and need --yes otherwise.
    bool confirmWrite (const juce::String& command, const juce::StringArray& args, const juce::String& what)
    {
        if (hasOption (args, "--yes"))
            return true;
        if (isatty (STDIN_FILENO) == 0)
        {
            std::cerr << "tarnombi " << command << ": this replaces " << what << " on the TarnOMBI; add --yes to confirm" << std::endl;
            return false;
        }
        std::cerr << "Write " << what << " to the TarnOMBI, replacing what it holds? [y/N] " << std::flush;
        std::string answer;
        std::getline (std::cin, answer);
        const auto text = juce::String (answer).trim().toLowerCase();
        return text == "y" || text == "yes";
    }

    bool readFile (const juce::String& path, x38200_file::AnyFileContent& content)
    {
        if (const auto result = x38200_file::readAnyFile (argumentFile (path), content); result != 0)
        {
            fail ("tarnombi: " + path + ": " + x38200_file::getReadErrorString (result));
            return false;
        }
        return true;
    }

    int saveFailure (const juce::String& path, int result)
    {
        return fail ("tarnombi: " + path + ": " + x38200_file::getWriteErrorString (result), SaveFailureStatus);
    }

    bool checkExtension (const juce::String& command, const juce::String& path, const juce::String& extension)
    {
        if (argumentFile (path).hasFileExtension (extension))
            return true;
        fail ("tarnombi " + command + ": OUT must end in " + extension, 2);
        return false;
    }

    //==========================================================================
    int runReceiveLibrary (const juce::StringArray& args)
    {
        PortSettings ports;
        if (const int status = checkPortOptions ("receive-library", args, ports))
            return status;
        const auto positional = getPositionalArguments (args, valueOptions);
        if (positional.size() != 1)
            return fail ("usage: tarnombi receive-library OUT.tolib [--in NAME --out NAME]", 2);
        if (! checkExtension ("receive-library", positional[0], x38200_file::LibraryFileExtension))
            return 2;

        x38200_data::LibraryData library;
        x38200_midi::ReceiveLibraryProcess process (library);
        const int result = runProcess (process, ports);
        if (result != 0)
            return result;
        if (const auto saved = x38200_file::LibraryFileWriter (library).writeToFile (argumentFile (positional[0])); saved != 0)
            return saveFailure (positional[0], saved);
        return 0;
    }

    int runWriteLibrary (const juce::StringArray& args)
    {
        PortSettings ports;
        if (const int status = checkPortOptions ("write-library", args, ports))
            return status;
        const auto positional = getPositionalArguments (args, valueOptions);
        if (positional.size() != 1)
            return fail ("usage: tarnombi write-library IN [--yes] [--in NAME --out NAME]", 2);
        x38200_file::AnyFileContent content;
        if (! readFile (positional[0], content))
            return 1;
        if (! confirmWrite ("write-library", args, "all 300 programs and the favorites"))
            return 2;
        x38200_midi::WriteLibraryProcess process (content.library);
        return runProcess (process, ports);
    }

    int runReceivePrograms (const juce::StringArray& args)
    {
        PortSettings ports;
        if (const int status = checkPortOptions ("receive-programs", args, ports))
            return status;
        const auto positional = getPositionalArguments (args, valueOptions);
        std::vector<int> numbers;
        if (positional.size() != 1 || ! hasOption (args, "--programs"))
            return fail ("usage: tarnombi receive-programs OUT.tolib --programs LIST [--into FILE] [--in NAME --out NAME]", 2);
        if (! parseProgramList (getOptionValue (args, "--programs"), numbers))
            return fail ("tarnombi receive-programs: --programs takes numbers and ranges from 1 to 300, like 1,5-8", 2);
        if (! checkExtension ("receive-programs", positional[0], x38200_file::LibraryFileExtension))
            return 2;

        // The programs land in this library; the rest of it comes from --into, or is initialized.
        x38200_data::LibraryData target;
        if (hasOption (args, "--into"))
        {
            x38200_file::AnyFileContent content;
            if (! readFile (getOptionValue (args, "--into"), content))
                return 1;
            target = content.library;
        }

        x38200_data::LibraryData received;
        x38200_midi::ReceiveSelectedProgramProcess process (numbers, received);
        const int result = runProcess (process, ports);
        if (result != 0)
            return result;
        for (const int number : numbers)
            target.getProgramData (number) = received.getProgramData (number);
        if (const auto saved = x38200_file::LibraryFileWriter (target).writeToFile (argumentFile (positional[0])); saved != 0)
            return saveFailure (positional[0], saved);
        return 0;
    }

    int runWritePrograms (const juce::StringArray& args)
    {
        PortSettings ports;
        if (const int status = checkPortOptions ("write-programs", args, ports))
            return status;
        const auto positional = getPositionalArguments (args, valueOptions);
        std::vector<int> numbers;
        if (positional.size() != 1 || ! hasOption (args, "--programs"))
            return fail ("usage: tarnombi write-programs IN --programs LIST [--yes] [--in NAME --out NAME]", 2);
        if (! parseProgramList (getOptionValue (args, "--programs"), numbers))
            return fail ("tarnombi write-programs: --programs takes numbers and ranges from 1 to 300, like 1,5-8", 2);
        x38200_file::AnyFileContent content;
        if (! readFile (positional[0], content))
            return 1;
        if (! confirmWrite ("write-programs", args, juce::String ((int) numbers.size()) + (numbers.size() == 1 ? " program" : " programs")))
            return 2;
        x38200_midi::WriteSelectedProgramProcess process (numbers, content.library);
        return runProcess (process, ports);
    }

    int runSendCurrent (const juce::StringArray& args)
    {
        PortSettings ports;
        if (const int status = checkPortOptions ("send-current", args, ports))
            return status;
        const auto positional = getPositionalArguments (args, valueOptions);
        if (positional.size() != 1)
            return fail ("usage: tarnombi send-current IN [--program N] [--in NAME --out NAME]", 2);
        int programNumber = 1;
        if (hasOption (args, "--program"))
        {
            const auto text = getOptionValue (args, "--program");
            programNumber = text.getIntValue();
            if (text.isEmpty() || ! text.containsOnly ("0123456789") || text.length() > 3 || programNumber < 1 || programNumber > 300)
                return fail ("tarnombi send-current: --program takes a number from 1 to 300", 2);
        }
        x38200_file::AnyFileContent content;
        if (! readFile (positional[0], content))
            return 1;
        if (programNumber > content.numPrograms)
            return fail ("tarnombi send-current: " + positional[0] + " holds " + juce::String (content.numPrograms)
                             + (content.numPrograms == 1 ? " program" : " programs"),
                         2);
        const auto program = content.library.getProgramData (programNumber - 1);
        x38200_midi::TransmitCurrentProgramProcess process (program);
        return runProcess (process, ports);
    }

    int runReceiveCurrent (const juce::StringArray& args)
    {
        PortSettings ports;
        if (const int status = checkPortOptions ("receive-current", args, ports))
            return status;
        const auto positional = getPositionalArguments (args, valueOptions);
        if (positional.size() != 1)
            return fail ("usage: tarnombi receive-current OUT.toprog [--in NAME --out NAME]", 2);
        if (! checkExtension ("receive-current", positional[0], x38200_file::ProgramFileExtension))
            return 2;
        x38200_data::ProgramData program;
        x38200_midi::ReceiveCurrentProgramProcess process (program);
        const int result = runProcess (process, ports);
        if (result != 0)
            return result;
        if (const auto saved = x38200_file::ProgramFileWriter (program).writeToFile (argumentFile (positional[0])); saved != 0)
            return saveFailure (positional[0], saved);
        return 0;
    }

    const Registration receiveLibrary { { "receive-library", "receive-library OUT.tolib",
                                          "receive all programs and the favorites from the TarnOMBI", runReceiveLibrary } };
    const Registration writeLibrary { { "write-library", "write-library IN [--yes]",
                                        "write all programs and the favorites of a file to the TarnOMBI", runWriteLibrary } };
    const Registration receivePrograms { { "receive-programs", "receive-programs OUT.tolib --programs LIST [--into FILE]",
                                           "receive programs (LIST like 1,5-8) into a library", runReceivePrograms } };
    const Registration writePrograms { { "write-programs", "write-programs IN --programs LIST [--yes]",
                                         "write programs of a file to the same numbers on the TarnOMBI", runWritePrograms } };
    const Registration sendCurrent { { "send-current", "send-current IN [--program N]",
                                       "send a program to the TarnOMBI's current program (edit buffer)", runSendCurrent } };
    const Registration receiveCurrent { { "receive-current", "receive-current OUT.toprog",
                                          "receive the TarnOMBI's current program", runReceiveCurrent } };
} // namespace
} // namespace tarnombi::cli
