#pragma once
// The most of each thing that a count read from a file may make us hold. Readers keep the
// first ones up to these and say so, so that a broken or hostile file cannot exhaust memory,
// time or the disk. Each value lies far above anything a real file holds.

#include <cstdint>

// Planets of one system, belts included: the generator makes a few dozen at most.
constexpr int kMostPlanets = 1000;
// Moons of one planet: no planet of the Solar System has 300 known moons.
constexpr int kMostMoons = 1000;
// Planets and moons of one system together: over 20 times the Solar System's known ones.
constexpr int kMostBodies = 10000;
// Asteroids of one belt (configuration line 19), each a file in the simulator: 20 ship.
constexpr int kMostAsteroidsPerBelt = 1000;
// Asteroids of one exported system together, whatever the number of belts.
constexpr int kMostAsteroids = 10000;
// A saved-system file: the most bodies, each written in about a kilobyte, fill some 10 MB.
constexpr std::uintmax_t kMostSystemFileBytes = 16u * 1024u * 1024u;
// A system given as JSON: a generated system prints in well under a megabyte.
constexpr std::uintmax_t kMostSystemJsonBytes = 16u * 1024u * 1024u;
// Mass categories of the jump table: 10 ship, and every pair of them is tried for each jump.
constexpr int kMostJumpCategories = 100;
// Bookmark folders, and bookmarks of one folder: the shipped file has 5 folders of at most 10.
constexpr int kMostBookmarks = 10000;
// Names in the cache list: the shipped capacity is 10.
constexpr int kMostCacheNames = 100000;

// Any other text file we read whole (catalogue, tables, bookmarks, lists, configuration): the
// largest we ship, the star catalogue, has 5 MB.
constexpr std::uintmax_t kMostTextFileBytes = 64u * 1024u * 1024u;

// The title of the message that says what of a file was cut or refused.
constexpr const char* kFileProblemTitle = "File not read in full";
