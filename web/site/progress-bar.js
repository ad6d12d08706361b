// The update page's progress bar: polls the transfer's progress ten times a
// second and draws it as the desktop's bar does, a translucent white field
// with a green bar 1 pixel in from its edges.

const pollMs = 100;

/** x rounded to the nearest integer, halves to the even one. */
export function roundHalfToEven(x)
{
    const floor = Math.floor(x);
    const diff = x - floor;
    if (diff !== 0.5)
        return Math.round(x);
    return floor % 2 === 0 ? floor : floor + 1;
}

/** The width of the green bar in a field this wide at this progress. */
export function innerBarWidth(width, progress)
{
    const room = width - 2;
    const bar = roundHalfToEven(room * progress);
    return Number.isNaN(bar) ? 0 : Math.min(Math.max(bar, 0), Math.max(room, 0));
}

export class ProgressBar
{
    constructor(element, readProgress)
    {
        this.element = element;
        this.fill = element.firstElementChild;
        this.readProgress = readProgress;
        this.timer = null;
        this.shown = NaN;
    }

    show()
    {
        this.element.hidden = false;
        this.update();
        this.timer ??= setInterval(() => this.update(), pollMs);
    }

    hide()
    {
        this.element.hidden = true;
        clearInterval(this.timer);
        this.timer = null;
    }

    update()
    {
        const progress = this.readProgress();
        if (progress === this.shown)
            return;
        this.shown = progress;
        this.fill.style.width = `${innerBarWidth(this.element.clientWidth, progress)}px`;
        this.element.setAttribute('aria-valuenow', String(Math.floor(progress * 100)));
    }
}
