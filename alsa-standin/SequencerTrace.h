#pragma once

#include <cstdio>
#include <string>
#include <vector>

/**
    Writes what crosses the stand-in's sequencer to a file, one line each as
    it happens: "CONNECT IN|OUT <port>" when the program subscribes to a
    port, "OUT <port> <bytes>" for what reaches a device's port, "IN <port>
    <bytes>" for what the program is given, and "UNPLUGGED <port>".
*/
class SequencerTrace
{
public:
    /** Traces to the file at this path; an empty path traces nothing. */
    explicit SequencerTrace (const std::string& path);
    ~SequencerTrace();

    SequencerTrace (const SequencerTrace&) = delete;
    SequencerTrace& operator= (const SequencerTrace&) = delete;

    /** Writes one line with the port's name, and the bytes in hexadecimal if any. */
    void write (const char* what, const std::string& port, const std::vector<unsigned char>& bytes = {});

private:
    std::FILE* file = nullptr;
};
