#pragma once

#include "data/ProgramData.h"

namespace x38200_data
{
// Section containers of a program, a favorite table and a library.

class ProgramDataSerializer
{
public:
    explicit ProgramDataSerializer (const ProgramData& source) : program (&source) {}
    virtual ~ProgramDataSerializer() = default;
    data::SerializedData createSerializedData() const;

private:
    const ProgramData* program;
};

// 0 success, 1 not a program container, 2 container unreadable, 3 information rejected.
class ProgramDataDeserializer
{
public:
    explicit ProgramDataDeserializer (ProgramData& target) : program (&target) {}
    virtual ~ProgramDataDeserializer() = default;
    int readFromSerializedData (const data::SerializedData& serialized);

private:
    ProgramData* program;
};

class FavoriteDataSerializer
{
public:
    explicit FavoriteDataSerializer (const FavoriteData& source) : favorites (&source) {}
    virtual ~FavoriteDataSerializer() = default;
    data::SerializedData createSerializedData() const;

private:
    const FavoriteData* favorites;
};

// 0 success, 1 not a favorite container, 2 favorite document rejected, 3 container unreadable.
class FavoriteDataDeserializer
{
public:
    explicit FavoriteDataDeserializer (FavoriteData& target) : favorites (&target) {}
    virtual ~FavoriteDataDeserializer() = default;
    int readFromSerializedData (const data::SerializedData& serialized);

private:
    FavoriteData* favorites;
};

class LibraryDataSerializer
{
public:
    explicit LibraryDataSerializer (const LibraryData& source) : library (&source) {}
    virtual ~LibraryDataSerializer() = default;
    data::SerializedData createSerializedData() const;

private:
    const LibraryData* library;
};

// 0 success, 1 not a library container, 2 container unreadable, 3 a program section
// failed, 4 the favorite section failed.
class LibraryDataDeserializer
{
public:
    explicit LibraryDataDeserializer (LibraryData& target) : library (&target) {}
    virtual ~LibraryDataDeserializer() = default;
    int readFromSerializedData (const data::SerializedData& serialized);

private:
    LibraryData* library;
};
} // namespace x38200_data
