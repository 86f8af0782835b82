#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>

namespace {

// Reads up to size bytes; returns the number read, or -1 with errno set.
ssize_t ReadFully(int fd, uint8_t* out, size_t size) {
  size_t done = 0;
  while (done < size) {
    const ssize_t n = read(fd, out + done, size - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  return static_cast<ssize_t>(done);
}

// Opens a plain file for reading; -1 with errno set otherwise.
int OpenPlainFile(const char* path, struct stat& info) {
  const int fd = open(path, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  int error = 0;
  if (fstat(fd, &info) != 0)
    error = errno;
  else if (!S_ISREG(info.st_mode))
    error = EISDIR;
  if (error) {
    close(fd);
    errno = error;
    return -1;
  }
  return fd;
}

// The directory part of a path ("." when it has none).
std::string DirectoryOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

}  // namespace

int ReadWholeFile(const char* path, std::vector<uint8_t>& out, size_t maxBytes) {
  struct stat info;
  const int fd = OpenPlainFile(path, info);
  if (fd < 0) return errno;
  if (static_cast<uint64_t>(info.st_size) > maxBytes) {
    close(fd);
    return EFBIG;
  }
  out.resize(static_cast<size_t>(info.st_size));
  const ssize_t got = ReadFully(fd, out.data(), out.size());
  const int error = got < 0 ? errno : 0;
  close(fd);
  if (error) return error;
  out.resize(static_cast<size_t>(got));  // a file that shrank since fstat
  return 0;
}

int ReadFileStart(const char* path, uint8_t* out, size_t size, size_t& got) {
  got = 0;
  struct stat info;
  const int fd = OpenPlainFile(path, info);
  if (fd < 0) return errno;
  const ssize_t n = ReadFully(fd, out, size);
  const int error = n < 0 ? errno : 0;
  close(fd);
  if (error) return error;
  got = static_cast<size_t>(n);
  return got == size ? 0 : -1;
}

SaveResult WriteFileAtomically(const char* path, const void* data, size_t size, int& error) {
  error = 0;
  const std::string temp = std::string(path) + ".tmp";
  FILE* f = fopen(temp.c_str(), "wb");
  if (!f) {
    error = errno;
    return SaveResult::kCannotCreate;
  }
  bool ok = fwrite(data, 1, size, f) == size;
  if (ok) ok = fflush(f) == 0;
  if (ok) ok = fsync(fileno(f)) == 0;
  if (!ok) error = errno;
  if (fclose(f) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && rename(temp.c_str(), path) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    remove(temp.c_str());
    return SaveResult::kWriteFailed;
  }
  // Make the rename itself durable; a directory that cannot be synced changes nothing above.
  const int dir = open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return SaveResult::kSaved;
}
