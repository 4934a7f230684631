// The progress bar on standard error, drawn only when that is a terminal: games and
// positions done, positions per second, and, for files, the share of the input done
// and the time left.
import cliProgress from "cli-progress"

// `total`: the input's size in characters, or 0 when unknown (standard input).
export function createProgress({stream = process.stderr, total}) {
  if (!stream.isTTY) return {update() {}, stop() {}}
  const counts = "{games} games, {positions} positions, {rate} positions/s"
  const bar = new cliProgress.SingleBar(
    {
      stream,
      format: total ? `{bar} {percentage}% | ${counts} | {left} left` : counts,
      hideCursor: true,
    },
    cliProgress.Presets.shades_classic,
  )
  const began = Date.now()
  bar.start(total || 1, 0, {games: 0, positions: 0, rate: 0, left: "?"})
  return {
    // done: the characters of input behind the games written.
    update({games, positions, done}) {
      const seconds = Math.max(0.001, (Date.now() - began) / 1000)
      const rate = Math.round(positions / seconds)
      bar.update(total ? done : 0, {games, positions, rate, left: done ? duration((seconds * (total - done)) / done) : "?"})
    },
    stop() {
      if (bar.isActive) bar.stop()
    },
  }
}

// "45 s", "12 min", "3.5 h"
function duration(seconds) {
  if (seconds < 90) return `${Math.round(seconds)} s`
  if (seconds < 5400) return `${Math.round(seconds / 60)} min`
  return `${(seconds / 3600).toFixed(1)} h`
}
