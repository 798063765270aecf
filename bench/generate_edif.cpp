// A generated EDIF 2 0 0 netlist shaped like the ones users open: libraries of cells with
// netlist views, ports, instances with properties, nets joining port references, renamed
// identifiers with strings, and comments. Seeded, so every run writes the same file.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "bench/bench_steps.h"

namespace tarnwick::bench {

namespace {

class Rng {
public:
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return uint32_t(state_);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }

private:
    uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

const char* const kPrimitives[] = {"LUT2",   "LUT4",  "LUT6", "FDRE", "FDCE",
                                   "CARRY4", "MUXF7", "IBUF", "OBUF", "BUFG"};
const char* const kPins[] = {"I0", "I1", "I2", "I3", "O", "D", "Q", "C", "CE", "R", "S", "CI", "CO"};

class EdifWriter {
public:
    // Without line breaks the lines follow each other on one line, their indentation between.
    EdifWriter(std::FILE* out, bool lineBreaks) : out_(out), lineBreaks_(lineBreaks) {}
    ~EdifWriter() { Flush(); }

    void Line(int depth, const std::string& text) {
        buffer_.append(size_t(depth) * 2, ' ');
        buffer_ += text;
        if (lineBreaks_)
            buffer_ += '\n';
        written_ += int64_t(depth) * 2 + int64_t(text.size()) + (lineBreaks_ ? 1 : 0);
        if (buffer_.size() > (1u << 20))
            Flush();
    }
    int64_t Written() const { return written_; }
    void Flush() {
        if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), out_) != buffer_.size())
            throw std::runtime_error("Cannot write the generated file");
        buffer_.clear();
    }

private:
    std::FILE* out_;
    bool lineBreaks_;
    std::string buffer_;
    int64_t written_ = 0;
};

void WritePrimitiveLibrary(EdifWriter& w) {
    w.Line(1, "(library UNISIMS");
    w.Line(2, "(edifLevel 0)");
    w.Line(2, "(technology (numberDefinition))");
    for (const char* cell : kPrimitives) {
        w.Line(2, std::string("(cell ") + cell + " (cellType GENERIC)");
        w.Line(3, "(view netlist (viewType NETLIST)");
        w.Line(4, "(interface");
        // Every pin a net of a cell below may join, so that the netlist resolves.
        for (const char* pin : kPins) {
            const std::string_view p = pin;
            const bool output = p == "O" || p == "Q" || p == "CO";
            w.Line(5,
                   std::string("(port ") + pin + (output ? " (direction OUTPUT))" : " (direction INPUT))"));
        }
        w.Line(4, ")");
        w.Line(3, ")");
        w.Line(2, ")");
    }
    w.Line(1, ")");
}

void WriteCell(EdifWriter& w, Rng& rng, int cellIndex, int64_t& netNumber, int64_t& instanceNumber) {
    const std::string name = "mod" + std::to_string(cellIndex);
    w.Line(2, "(cell " + name + " (cellType GENERIC)");
    w.Line(3, "(view netlist (viewType NETLIST)");
    w.Line(4, "(interface");
    const int ports = 4 + int(rng.Below(12));
    for (int p = 0; p < ports; ++p) {
        const std::string port = "p" + std::to_string(p);
        if (rng.Below(4) == 0)
            w.Line(5,
                   "(port (rename " + port + " \"data_in[" + std::to_string(p) + "]\") (direction INPUT))");
        else
            w.Line(5, "(port " + port + (p % 3 == 0 ? " (direction OUTPUT))" : " (direction INPUT))"));
    }
    w.Line(4, ")");
    w.Line(4, "(contents");
    const int instances = 20 + int(rng.Below(60));
    const int64_t firstInstance = instanceNumber;
    for (int i = 0; i < instances; ++i) {
        const std::string inst = "inst" + std::to_string(instanceNumber++);
        const char* prim = kPrimitives[rng.Below(10)];
        w.Line(5, "(instance (rename " + inst + " \"u_" + name + "/" + inst + "\")");
        w.Line(6, std::string("(viewRef netlist (cellRef ") + prim + " (libraryRef UNISIMS)))");
        if (rng.Below(3) == 0)
            w.Line(6, "(property INIT (string \"64'h" + std::to_string(rng.Next()) + "\"))");
        if (rng.Below(5) == 0)
            w.Line(6, "(property LOC (string \"SLICE_X" + std::to_string(rng.Below(200)) + "Y" +
                          std::to_string(rng.Below(300)) + "\"))");
        w.Line(5, ")");
    }
    if (rng.Below(4) == 0)
        w.Line(5, "(comment \"nets of " + name + " follow\")");
    const int nets = instances + int(rng.Below(20));
    for (int n = 0; n < nets; ++n) {
        const std::string net = "net" + std::to_string(netNumber++);
        if (rng.Below(3) == 0)
            w.Line(5, "(net (rename " + net + " \"bus_" + std::to_string(n % 32) + "[" +
                          std::to_string(n % 8) + "]\")");
        else
            w.Line(5, "(net " + net);
        w.Line(6, "(joined");
        const int refs = 2 + int(rng.Below(4));
        std::vector<std::pair<int64_t, uint32_t>> joined;  // (instance, pin): a net joins each once
        for (int r = 0; r < refs; ++r) {
            int64_t target = firstInstance + int64_t(rng.Below(uint32_t(instances)));
            if (r == 0 && rng.Below(4) == 0) {
                w.Line(7, "(portRef p" + std::to_string(rng.Below(uint32_t(ports))) + ")");
                continue;
            }
            const uint32_t pin = rng.Below(13);
            while (std::find(joined.begin(), joined.end(), std::pair(target, pin)) != joined.end())
                target = firstInstance + (target - firstInstance + 1) % instances;
            joined.emplace_back(target, pin);
            w.Line(7, std::string("(portRef ") + kPins[pin] + " (instanceRef inst" + std::to_string(target) +
                          "))");
        }
        w.Line(6, ")");
        w.Line(5, ")");
    }
    w.Line(4, ")");
    w.Line(3, ")");
    w.Line(2, ")");
}

}  // namespace

void GenerateEdif(const std::string& path, int megabytes, bool oneLine) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (out == nullptr)
        throw std::runtime_error("Cannot create " + path);
    const int64_t target = int64_t(megabytes) * 1024 * 1024;
    {
        EdifWriter w(out, !oneLine);
        Rng rng;
        w.Line(0, "(edif top");
        w.Line(1, "(edifVersion 2 0 0)");
        w.Line(1, "(edifLevel 0)");
        w.Line(1, "(keywordMap (keywordLevel 0))");
        w.Line(
            1,
            "(status (written (timeStamp 2024 5 17 9 30 0) (program \"tarnwick-bench\" (version \"1.0\"))");
        w.Line(2, "(comment \"generated netlist for measurements\")))");
        WritePrimitiveLibrary(w);
        w.Line(1, "(library work");
        w.Line(2, "(edifLevel 0)");
        w.Line(2, "(technology (numberDefinition))");
        int64_t netNumber = 0, instanceNumber = 0;
        const int64_t closing = 200;
        for (int cell = 0; w.Written() + closing < target; ++cell)
            WriteCell(w, rng, cell, netNumber, instanceNumber);
        w.Line(1, ")");
        w.Line(1, "(design top (cellRef mod0 (libraryRef work)))");
        w.Line(0, ")");
    }
    if (std::fclose(out) != 0)
        throw std::runtime_error("Cannot write " + path);
}

}  // namespace tarnwick::bench
