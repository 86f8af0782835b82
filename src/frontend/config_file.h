// The configuration file data/plonkix.cfg: both players' PlayerConfig records, 52 bytes each,
// stored exactly as they lie in memory.
#pragma once
#include <cstddef>
#include <cstdint>

#include "files.h"
#include "mem_reader.h"
#include "player_config.h"

constexpr const char* kConfigFile = "data/plonkix.cfg";
constexpr size_t kConfigFileBytes = 2 * sizeof(PlayerConfig);  // 104

// Raises the values that would index outside a table or break the rules into safe ones: keys
// outside 1..127 become 0 (no key), beansToLink below 3 becomes 3, a name longer than 5 is cut
// to 5 (and its capacity is 5), an unknown cpuStrength becomes 1, a dropSpeed below 1 becomes 1
// and above 99 becomes 99. Other values merely outside the options screen's ranges stay.
void SanitiseConfig(PlayerConfig& config);

// Fills both records from the first 104 bytes of a file held in memory, made safe; false (the
// records untouched) when fewer bytes are given.
bool ParseConfig(const uint8_t* data, size_t size, PlayerConfig& p1, PlayerConfig& p2);

// Reads both records from a file; false (the records untouched) when it cannot be read or is
// shorter than 104 bytes, with the reason in fault.
bool ReadConfigFile(const char* path, PlayerConfig& p1, PlayerConfig& p2, DecodeFault& fault);
bool ReadConfigFile(const char* path, PlayerConfig& p1, PlayerConfig& p2);

// Replaces the file by the two records atomically (see WriteFileAtomically).
SaveResult WriteConfigFile(const char* path, const PlayerConfig& p1, const PlayerConfig& p2,
                           int& error);

// Reads data/plonkix.cfg into both players' records at start-up; a missing or short file stops
// the program with a message that names it.
void LoadPlayerConfigs();
// Writes both players' records to data/plonkix.cfg. A file that cannot be created is skipped
// silently (the values stay in memory for this run); a failure while writing stops the program
// with an input/output error that names the file, leaving the old file intact.
void SavePlayerConfigs();
