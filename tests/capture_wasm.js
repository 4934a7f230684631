// Duplicated descriptors for the test program under Node, linked with
// --js-library. Emscripten 3.1.6 makes dup and dup2 open the descriptor's
// path again, which fails for a standard stream (it has no path) and for a
// file from mkstemp (opened exclusively), and its close closes the host's
// descriptor under every duplicate. GoogleTest's output capture
// (CaptureStdout, CaptureStderr) needs both. Here a duplicate shares the host
// descriptor, which closes with the last of its holders.
mergeInto(LibraryManager.library, {
  $duplicateStream__deps: ["$FS"],
  $duplicateStream: function (stream, fd) {
    stream.holders = stream.holders || { count: 1 };
    stream.holders.count++;
    FS.streams[fd] = Object.assign({}, stream, { fd: fd });
    return fd;
  },
  $closeStream__deps: ["$FS"],
  $closeStream: function (stream) {
    if (stream.holders && --stream.holders.count > 0) FS.closeStream(stream.fd);
    else FS.close(stream);
  },

  __syscall_dup__deps: ["$duplicateStream"],
  __syscall_dup: function (fd) {
    var stream = FS.getStream(fd);
    return stream ? duplicateStream(stream, FS.nextfd()) : -{{{ cDefine("EBADF") }}};
  },
  __syscall_dup3__deps: ["$duplicateStream", "$closeStream"],
  __syscall_dup3: function (fd, suggestFD, flags) {
    var stream = FS.getStream(fd);
    if (!stream) return -{{{ cDefine("EBADF") }}};
    if (fd === suggestFD) return -{{{ cDefine("EINVAL") }}};
    var replaced = FS.getStream(suggestFD);
    try {
      if (replaced) closeStream(replaced);
    } catch (e) {
      // dup2 replaces the descriptor whatever its close says
    }
    return duplicateStream(stream, suggestFD);
  },
  fd_close__deps: ["$closeStream"],
  fd_close: function (fd) {
    var stream = FS.getStream(fd);
    if (!stream) return {{{ cDefine("EBADF") }}};
    try {
      closeStream(stream);
    } catch (e) {
      if (!(e instanceof FS.ErrnoError)) throw e;
      return e.errno;
    }
    return 0;
  },
});
