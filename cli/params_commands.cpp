#include "cli/params_commands.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "common/number_text.h"
#include "operations/parameter_file.h"
#include "operations/parameter_transfer.h"

namespace {

constexpr const char* kProgram = "kelvara-cli: ";

// The stored value and, in brackets, what the window shows it as.
std::string withUnits(const ParameterRegister& reg, int32_t stored) {
    return std::to_string(stored) + " (" + boxNumberText(stored / reg.scale) + ")";
}

} // namespace

std::optional<std::vector<int32_t>> readParamsFile(ParamsContext& c, const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        const int error = errno;
        c.err << kProgram << path << ": cannot be read: " << std::strerror(error) << "\n";
        return std::nullopt;
    }
    const ParameterFileRead file = readParameterFile(text.str(), c.registers);
    for (const FileProblem& p : file.problems) {
        c.err << path << ":" << p.line << ": " << p.what << "\n";
    }
    if (!file.problems.empty()) {
        c.err << kProgram << path << " is refused; nothing was sent.\n";
        return std::nullopt;
    }
    return file.stored;
}

namespace {

// The board's values, or nothing when a register could not be read (told on err).
std::optional<std::vector<int32_t>> boardValues(ParamsContext& c, CliExit& exit) {
    BoardRead board = readBoard(c.link, c.m, c.registers);
    if (board.problem.empty()) {
        return std::move(board.stored);
    }
    c.err << kProgram << board.problem << ".\n";
    exit = board.outcome == CommandOutcome::Complete ? CliExit::Partial : CliExit::NoController;
    return std::nullopt;
}

} // namespace

std::vector<ParameterRegister> paramsRegisters(bool calibration) {
    std::vector<ParameterRegister> registers(kParameterRegisters.begin(),
                                             kParameterRegisters.end());
    if (calibration) {
        registers.insert(registers.end(), kCalibrationRegisters.begin(),
                         kCalibrationRegisters.end());
    }
    return registers;
}

CliExit paramsSave(ParamsContext& c, const std::string& path,
                   const std::vector<std::string>& comments) {
    CliExit exit = CliExit::Done;
    const auto board = boardValues(c, exit);
    if (!board) {
        c.err << kProgram << path << " was not written.\n";
        return exit == CliExit::Partial ? CliExit::FileRefused : exit;
    }
    // Written beside it first: a failed write leaves an earlier file whole.
    const std::string part = path + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out << writeParameterFile(c.registers, *board, comments);
        out.close();
        if (!out) {
            const int error = errno;
            c.err << kProgram << path << ": cannot be written: " << std::strerror(error) << "\n";
            std::error_code ignored;
            std::filesystem::remove(part, ignored);
            return CliExit::FileRefused;
        }
    }
    std::error_code renamed;
    std::filesystem::rename(part, path, renamed);
    if (renamed) {
        c.err << kProgram << path << ": cannot be written: " << renamed.message() << "\n";
        return CliExit::FileRefused;
    }
    c.out << "Saved " << c.registers.size() << " registers of COM" << c.m.i_comPort << " to "
          << path << ".\n";
    return CliExit::Done;
}

CliExit paramsDiff(ParamsContext& c, const std::string& path, const std::vector<int32_t>& file) {
    CliExit exit = CliExit::Done;
    const auto board = boardValues(c, exit);
    if (!board) {
        return exit;
    }
    std::size_t differ = 0;
    for (std::size_t i = 0; i < c.registers.size(); ++i) {
        if (file[i] != (*board)[i]) {
            ++differ;
            c.out << c.registers[i].name << ": file " << withUnits(c.registers[i], file[i])
                  << ", controller " << withUnits(c.registers[i], (*board)[i]) << "\n";
        }
    }
    if (differ == 0) {
        c.out << "The controller holds the values of " << path << ".\n";
        return CliExit::Done;
    }
    c.out << differ << (differ == 1 ? " register differs.\n" : " registers differ.\n");
    return CliExit::Differs;
}

CliExit paramsRestore(ParamsContext& c, const std::string& path, const std::vector<int32_t>& file,
                      bool dryRun) {
    CliExit exit = CliExit::Done;
    const auto board = boardValues(c, exit);
    if (!board) {
        c.err << kProgram << "nothing was written.\n";
        return exit;
    }
    const Restore restore = restoreBoard(c.link, c.m, c.registers, *board, file, dryRun);
    std::size_t written = 0, verified = 0, differing = 0;
    for (const RestoredRegister& r : restore.registers) {
        if (r.fate == RestoreFate::Same) {
            continue;
        }
        ++differing;
        c.out << r.reg->name << ": " << withUnits(*r.reg, r.board) << " -> "
              << withUnits(*r.reg, r.wanted) << ": ";
        switch (r.fate) {
        case RestoreFate::Verified:
            ++written;
            ++verified;
            c.out << "written, verified\n";
            break;
        case RestoreFate::Differs:
            ++written;
            c.out << "written, but read back as " << plainNumberText(*r.readBack) << "\n";
            break;
        case RestoreFate::Unverified:
            ++written;
            c.out << "written, not read back\n";
            break;
        case RestoreFate::NotWritten:
            c.out << (dryRun ? "would be written\n" : "not written\n");
            break;
        case RestoreFate::Same:
            break;
        }
    }
    if (differing == 0) {
        c.out << "Nothing to write: the controller holds the values of " << path << ".\n";
        return CliExit::Done;
    }
    if (dryRun) {
        c.out << differing << " to write; nothing was written (--dry-run).\n";
        return CliExit::Done;
    }
    if (verified == differing) {
        c.out << written << " written and verified.\n";
        return CliExit::Done;
    }
    c.err << kProgram << "restore incomplete: " << written << " of " << differing << " written, "
          << verified << " verified.\n";
    return written == 0 && restore.stoppedBy == CommandOutcome::Failed ? CliExit::NoController
                                                                       : CliExit::Partial;
}
