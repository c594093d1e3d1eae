#pragma once

#include <string>
#include <vector>

#include "archive/archiver.h"

namespace ravinel {

// LHA: "-+", then every set switch in the order of the switch table.
class Lha32 : public Archiver {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
    std::string extractMemCommandLine(const std::string& archivePath,
                                      const std::vector<std::string>& members,
                                      const ArchiverOptions& options,
                                      bool ownerWindow) const override;
};

// ARJ follows the LHA rules with its own module.
class Arj32 : public Lha32 {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
};

class Zip32 : public Archiver {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
    std::string extractMemCommandLine(const std::string& archivePath,
                                      const std::vector<std::string>& members,
                                      const ArchiverOptions& options,
                                      bool ownerWindow) const override;
};

// Plain TAR; the compressed kinds add their switch.
class Tar32 : public Archiver {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
    std::string extractMemCommandLine(const std::string& archivePath,
                                      const std::vector<std::string>& members,
                                      const ArchiverOptions& options,
                                      bool ownerWindow) const override;

  protected:
    virtual std::string compressionSwitch(const ArchiverOptions& options) const;
};

class Tgz32 : public Tar32 {
  protected:
    std::string compressionSwitch(const ArchiverOptions& options) const override;
};

class Bz232 : public Tar32 {
  protected:
    std::string compressionSwitch(const ArchiverOptions& options) const override;
};

class Rar32 : public Archiver {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
    std::string extractMemCommandLine(const std::string& archivePath,
                                      const std::vector<std::string>& members,
                                      const ArchiverOptions& options,
                                      bool ownerWindow) const override;
};

class Cab32 : public Archiver {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
    std::string extractMemCommandLine(const std::string& archivePath,
                                      const std::vector<std::string>& members,
                                      const ArchiverOptions& options,
                                      bool ownerWindow) const override;
};

// The formats whose modules cannot extract into memory.
class NoMemoryExtraction : public Archiver {
  public:
    std::string extractMemCommandLine(const std::string& archivePath,
                                      const std::vector<std::string>& members,
                                      const ArchiverOptions& options,
                                      bool ownerWindow) const override;
};

class Bga32 : public NoMemoryExtraction {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
};

class Yz1 : public NoMemoryExtraction {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
};

class SevenZip32 : public NoMemoryExtraction {
  public:
    ArchiverDll& loadDll() const override;
    void freeDll() const override;
};

}  // namespace ravinel
