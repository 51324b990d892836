#include "system/loader/fileidentity.h"

#include <sys/stat.h>

#include <boost/functional/hash.hpp>
#include <tuple>

namespace System {
namespace Loader {

namespace {

auto fieldsOf(const FileIdentity& identity) {
  return std::tie(identity.device, identity.inode, identity.size, identity.modifiedSeconds,
                  identity.modifiedNanoseconds, identity.changedSeconds,
                  identity.changedNanoseconds);
}

}  // namespace

bool FileIdentity::operator==(const FileIdentity& other) const {
  return fieldsOf(*this) == fieldsOf(other);
}

std::size_t hash_value(const FileIdentity& identity) {
  std::size_t seed = 0;
  boost::hash_combine(seed, identity.device);
  boost::hash_combine(seed, identity.inode);
  boost::hash_combine(seed, identity.changedNanoseconds);
  return seed;
}

FileIdentity identityFrom(const struct stat& status) {
  FileIdentity identity;
  identity.device = status.st_dev;
  identity.inode = status.st_ino;
  identity.size = static_cast<std::uint64_t>(status.st_size);
  identity.modifiedSeconds = status.st_mtim.tv_sec;
  identity.modifiedNanoseconds = status.st_mtim.tv_nsec;
  identity.changedSeconds = status.st_ctim.tv_sec;
  identity.changedNanoseconds = status.st_ctim.tv_nsec;
  return identity;
}

std::optional<FileIdentity> identityOf(const std::string& path) {
  struct stat status;
  if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
    return std::nullopt;
  }
  return identityFrom(status);
}

}  // namespace Loader
}  // namespace System
