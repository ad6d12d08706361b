#pragma once

/** The ways in which a simulated VT-5150 can misbehave; all off by default. */
struct DeviceFaults
{
    /** Answers the start command with a refusal instead of an acknowledgement. */
    bool refuseStart = false;

    /** Goes silent from the first data command of this block on; -1 for never. */
    int silentAtBlock = -1;

    /** Answers the first this-many commands, then goes silent; -1 for never. */
    int silentAfter = -1;

    /** Ignores the first this-many commands, as a device still starting up, then answers; 0 for none. */
    int silentFirst = 0;

    /** Never acknowledges the address command that closes a block; the initial one still is. */
    bool ignoreBlockAddress = false;

    /** Answers everything with a wrong fourth byte. */
    bool wrongAck = false;

    /** Answers everything with only the three header bytes. */
    bool shortAck = false;

    /** Never answers the query command. */
    bool noQueryReply = false;

    /** Sends an active-sensing byte right after every reply. */
    bool noiseAfterReply = false;

    /** Sends a stray note message on another input after every reply. */
    bool strayMessage = false;

    /** Answers every command 1001 ms late. */
    bool lateReply = false;
};
