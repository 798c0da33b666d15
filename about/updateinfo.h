#pragma once

#include <QByteArray>

// The version the maker's update file announces; a key the file lacks stays 0.
struct PublishedVersion {
    int major = 0;
    int minor = 0;
    int subMinor = 0;
};

// Reads the "key=value;key=value" update file. Keys are case-sensitive, the
// last occurrence of a key wins, and only CR LF pairs are stripped, so a file
// with bare LF line ends loses every key after its first line.
PublishedVersion parseUpdateFile(const QByteArray &body);

// True when `published` is later than the installed major.minor.subMinor.
bool isNewer(const PublishedVersion &published, int major, int minor, int subMinor);
