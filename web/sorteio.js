// SPDX-License-Identifier: MIT
// The draw's page: a file in, countoff's draw run on it by the WebAssembly
// module, and its result shown. One state machine: `fase` is where the page
// is, and each event moves it on. Every text from the file reaches the page
// as textContent, never as markup.
(function () {
  'use strict';

  const LIMITE_MB = 64;
  const MAIOR_RODA = 1000; // soldiers drawn in the ring
  const MAIOR_ROTULO = 40; // letters of a name beside its dot; the whole name is its title
  const TAMANHO_NOME = 14; // px of a name on the ring, as sorteio.css has it
  const MAIS_LINHAS = 1000; // rows of the table shown on the page

  const $ = (id) => document.getElementById(id);
  const el = {
    aviso: $('aviso'), estado: $('estado'), arquivo: $('arquivo'), impressao: $('impressao'),
    sha256: $('sha256'), opcoes: $('opcoes'), coluna: $('coluna'), id: $('id'),
    contagem: $('contagem'), semente: $('semente'), premios: $('premios'), excluir: $('excluir'),
    ordenar: $('ordenar'), sortear: $('sortear'), resultado: $('resultado'),
    vencedor: $('vencedor'), resumo: $('resumo'), baixar: $('baixar'), painelRoda: $('painel-roda'),
    semRoda: $('sem-roda'), animar: $('animar'), pausar: $('pausar'), fim: $('fim'),
    saida: $('saida'), roda: $('roda'), comando: $('comando'), sobreTabela: $('sobre-tabela'),
    tabela: $('tabela'),
  };

  // fase: 'carregando' | 'vazio' | 'lendo' | 'lido' | 'sorteando' | 'sorteado'
  const estado = {
    fase: 'carregando',
    modulo: null, // the WebAssembly module
    sorteio: null, // its Sorteio object
    nomeArquivo: '',
    colunas: [],
    urlTabela: null,
    animacao: null,
  };

  const decodificador = new TextDecoder('utf-8', { ignoreBOM: true });

  function dizer(texto) { el.estado.textContent = texto; }
  function avisar(linhas) {
    el.aviso.textContent = Array.isArray(linhas) ? linhas.join('\n') : linhas;
    el.aviso.hidden = !el.aviso.textContent;
  }

  function ir(fase) {
    estado.fase = fase;
    el.arquivo.disabled = fase === 'carregando' || fase === 'lendo' || fase === 'sorteando';
    el.opcoes.hidden = !(fase === 'lido' || fase === 'sorteando' || fase === 'sorteado');
    el.sortear.disabled = fase !== 'lido' && fase !== 'sorteado';
    el.resultado.hidden = fase !== 'sorteado';
    el.impressao.hidden = el.opcoes.hidden;
    if (fase !== 'sorteado') parar();
  }

  // Starts (or starts again) the WebAssembly module.
  async function iniciar() {
    ir('carregando');
    estado.modulo = null;
    estado.sorteio = null;
    estado.modulo = await SorteioModulo({ onAbort: () => {} });
    estado.sorteio = new estado.modulo.Sorteio();
  }

  // Calls into the module. An exception out of the C++ or an abort leaves
  // the module unusable: the page says so and starts it again, empty.
  async function chamar(fazer) {
    try {
      return fazer(estado.sorteio, estado.modulo);
    } catch (erro) {
      console.error(erro);
      await reiniciar();
      throw new FalhaInterna();
    }
  }
  class FalhaInterna extends Error {}

  async function reiniciar() {
    el.arquivo.value = '';
    el.excluir.value = '';
    try {
      await iniciar();
      avisar('Algo deu errado dentro da página, e ela recomeçou. Escolha o arquivo de novo.');
      dizer('Pronta: escolha o arquivo dos inscritos.');
      ir('vazio');
    } catch (erro) {
      console.error(erro);
      avisar('A página não conseguiu recomeçar. Recarregue-a.');
    }
  }
  window.sorteioPagina = { chamar: (fazer) => chamar(fazer).catch(() => {}), estado };

  function copia(vista) { return vista.slice(); }

  // Lets the page show what it says before a long call into the module.
  function respirar() {
    return new Promise((pronto) => requestAnimationFrame(() => setTimeout(pronto, 0)));
  }

  function mb(bytes) {
    return (bytes / (1024 * 1024)).toLocaleString('pt-BR', { maximumFractionDigits: 1 });
  }

  async function lerArquivo(arquivo) {
    if (arquivo.size > LIMITE_MB * 1024 * 1024) {
      throw new Error(`O arquivo tem ${mb(arquivo.size)} MB, e esta página lê até ${LIMITE_MB} MB. ` +
        'Para um arquivo maior, use o countoff na linha de comando.');
    }
    return new Uint8Array(await arquivo.arrayBuffer());
  }

  async function abrir() {
    const arquivo = el.arquivo.files[0];
    avisar('');
    if (!arquivo) { ir('vazio'); return; }
    ir('lendo');
    dizer('Lendo o arquivo…');
    let bytes;
    try {
      bytes = await lerArquivo(arquivo);
    } catch (erro) {
      avisar(erro.message || 'Não foi possível ler o arquivo.');
      dizer('Escolha outro arquivo.');
      ir('vazio');
      return;
    }
    dizer('Lendo o arquivo: a impressão digital e o cabeçalho…');
    await respirar();
    let aberto;
    try {
      aberto = await chamar((s) => s.abrir(bytes));
    } catch (erro) { return; }
    estado.nomeArquivo = arquivo.name;
    el.sha256.textContent = aberto.sha256;
    if (!aberto.ok) {
      avisar(['Este arquivo não serve para o sorteio:'].concat(aberto.mensagens));
      dizer('Escolha outro arquivo: uma planilha salva como CSV, em UTF-8 ou UTF-16.');
      ir('vazio');
      return;
    }
    estado.colunas = aberto.colunas;
    preencherColunas(aberto.colunas);
    dizer(`Arquivo lido: ${arquivo.name}, ${aberto.colunas.length} colunas. Escolha a coluna dos nomes e n.`);
    ir('lido');
  }

  function preencherColunas(colunas) {
    el.coluna.replaceChildren();
    el.id.replaceChildren(new Option('nenhuma', ''));
    colunas.forEach((texto, i) => {
      const rotulo = `${i + 1}: ${texto || '(sem título)'}`;
      el.coluna.append(new Option(rotulo, String(i)));
      el.id.append(new Option(rotulo, String(i)));
    });
    const provavel = colunas.findIndex((c) => /^nomes?$/i.test(c.trim()));
    el.coluna.value = String(provavel >= 0 ? provavel : 0);
  }

  // How countoff names a column: its header's text when that is plain and
  // names no other column, else its number from 1.
  function nomeDaColuna(i) {
    const texto = estado.colunas[i];
    const igual = (a, b) => a.toLowerCase() === b.toLowerCase();
    const simples = texto !== '' && !/^[+-]?\d+$/.test(texto) && !/^'/.test(texto) &&
      estado.colunas.filter((c) => igual(c, texto)).length === 1;
    return simples ? texto : String(i + 1);
  }

  // A word for the shell: bare when it is plain, else in quotes; a
  // character that a reader could not see for what it is (a control, a
  // format character such as a right-to-left override, a space that is not
  // ASCII's) makes it $'...', each such character's bytes written \xHH.
  const INVISIVEL = /[\p{Cc}\p{Cf}\p{Zl}\p{Zp}\u00a0\u1680\u2000-\u200a\u202f\u205f\u3000\u115f\u1160\u3164\uffa0\u2800]/u;
  function emAspas(texto) {
    if (/^[A-Za-z0-9._\/-]+$/.test(texto)) return texto;
    if (!INVISIVEL.test(texto)) return `'${texto.replace(/'/g, "'\\''")}'`;
    const codificador = new TextEncoder();
    return `$'${[...texto].map((c) => {
      if (c === "'" || c === '\\') return `\\${c}`;
      if (!INVISIVEL.test(c)) return c;
      return [...codificador.encode(c)].map((byte) => `\\x${byte.toString(16).padStart(2, '0')}`).join('');
    }).join('')}'`;
  }

  function paraNfc(bytes) {
    let codigo = 'utf-8';
    if (bytes[0] === 0xff && bytes[1] === 0xfe) codigo = 'utf-16le';
    else if (bytes[0] === 0xfe && bytes[1] === 0xff) codigo = 'utf-16be';
    try {
      const texto = new TextDecoder(codigo, { fatal: true }).decode(bytes);
      return new TextEncoder().encode(texto.normalize('NFC'));
    } catch (erro) {
      return bytes; // the module names what is wrong with it
    }
  }

  async function sortear(evento) {
    evento.preventDefault();
    if (estado.fase !== 'lido' && estado.fase !== 'sorteado') return;
    avisar('');
    const opcoes = {
      coluna: nomeDaColuna(Number(el.coluna.value)),
      id: el.id.value === '' ? '' : nomeDaColuna(Number(el.id.value)),
      separador: '',
      contagem: el.contagem.value.trim(),
      semente: el.semente.value === '' ? null : el.semente.value,
      premios: el.premios.value === '' ? 0 : Number(el.premios.value),
      ordenar: el.ordenar.checked,
    };
    if (!Number.isInteger(opcoes.premios) || opcoes.premios < 0) {
      avisar('Prêmios: um número inteiro, 0 ou mais.');
      return;
    }
    if (opcoes.contagem === '' && opcoes.semente === null) {
      avisar('Falta n: dê a contagem ou o texto público de onde ela vem.');
      el.contagem.focus();
      return;
    }
    const exclusao = el.excluir.files[0];
    ir('sorteando');
    dizer('Sorteando…');
    try {
      if (exclusao) {
        const lista = await lerArquivo(exclusao);
        opcoes.excluir = opcoes.ordenar ? paraNfc(lista) : lista;
      }
    } catch (erro) {
      avisar(erro.message || 'Não foi possível ler a lista de quem fica de fora.');
      ir('lido');
      return;
    }
    await respirar();
    let feito;
    try {
      feito = await chamar((s) => {
        if (opcoes.ordenar) opcoes.nfc = paraNfc(copia(s.texto()));
        const r = s.sortear(opcoes);
        if (r.estado !== 0) return r;
        r.tabela = copia(s.tabela());
        r.celulas = decodificador.decode(s.celulas()).split('\0');
        if (r.total <= MAIOR_RODA) {
          r.roda = decodificador.decode(s.roda()).split('\0');
          r.ordem = Array.from(s.ordem());
        }
        return r;
      });
    } catch (erro) { return; }
    if (feito.estado !== 0) {
      avisar(['Não foi possível sortear:'].concat(feito.mensagens));
      dizer('Corrija as opções e sorteie de novo.');
      ir('lido');
      return;
    }
    mostrar(feito, opcoes, exclusao);
    ir('sorteado');
    dizer(`Sorteio feito: ${feito.total.toLocaleString('pt-BR')} inscritos, n = ${feito.n}.`);
    if (feito.roda) animar();
  }

  function mostrar(r, opcoes, exclusao) {
    const largura = 2 + (r.ids ? 1 : 0) + 1 + (r.premios > 0 ? 1 : 0);
    const linhas = r.total;
    const celula = (k, j) => r.celulas[k * largura + j];
    const nomeEm = largura - 1 - (r.premios > 0 ? 1 : 0);
    const vencedor = celula(linhas - 1, nomeEm);
    el.vencedor.textContent = `Vencedor: ${vencedor}`;
    const partes = [`${linhas.toLocaleString('pt-BR')} inscritos na roda`, `n = ${r.n}`];
    if (r.excluidos > 0) partes.push(`${r.excluidos.toLocaleString('pt-BR')} deixados de fora`);
    el.resumo.textContent = partes.join(', ') + '.';

    if (estado.urlTabela) URL.revokeObjectURL(estado.urlTabela);
    estado.urlTabela = URL.createObjectURL(new Blob([r.tabela], { type: 'text/csv' }));
    el.baixar.href = estado.urlTabela;
    const base = estado.nomeArquivo.replace(/\.[^.]*$/, '') || 'inscritos';
    el.baixar.download = `${base}-resultado.csv`;

    const comando = ['countoff', '--coluna', emAspas(opcoes.coluna)];
    if (opcoes.id) comando.push('--id', emAspas(opcoes.id));
    if (opcoes.ordenar) comando.push('--ordenar');
    if (exclusao) comando.push('--excluir', emAspas(exclusao.name));
    if (opcoes.premios > 0) comando.push('--premios', String(opcoes.premios));
    if (opcoes.semente !== null) comando.push('--semente', emAspas(opcoes.semente));
    else comando.push('--contagem', emAspas(opcoes.contagem));
    comando.push('--csv', '<', emAspas(estado.nomeArquivo), '>', emAspas(el.baixar.download));
    el.comando.textContent =
      `sha256sum ${emAspas(estado.nomeArquivo)}\n# ${el.sha256.textContent}\n${comando.join(' ')}\n`;

    const cabeca = ['ordem', 'posição'];
    if (r.ids) cabeca.push('id');
    cabeca.push('nome');
    if (r.premios > 0) cabeca.push('prêmio');
    const numerica = (nome) => nome === 'ordem' || nome === 'posição' || nome === 'prêmio';
    const tr = el.tabela.tHead.rows[0];
    tr.replaceChildren(...cabeca.map((nome) => {
      const th = document.createElement('th');
      th.scope = 'col';
      th.textContent = nome;
      if (numerica(nome)) th.className = 'numero';
      return th;
    }));
    const primeira = Math.max(0, linhas - MAIS_LINHAS);
    const corpo = document.createDocumentFragment();
    for (let k = primeira; k < linhas; ++k) {
      const linha = document.createElement('tr');
      if (r.premios > 0 && celula(k, largura - 1) !== '') linha.className = 'premiado';
      else if (r.premios === 0 && k === linhas - 1) linha.className = 'premiado';
      for (let j = 0; j < largura; ++j) {
        const td = document.createElement('td');
        td.textContent = celula(k, j);
        if (numerica(cabeca[j])) td.className = 'numero';
        linha.append(td);
      }
      corpo.append(linha);
    }
    el.tabela.tBodies[0].replaceChildren(corpo);
    el.sobreTabela.textContent = primeira === 0
      ? 'Na ordem em que saíram da roda, o vencedor por último; posição é a linha no arquivo.'
      : `As últimas ${MAIS_LINHAS.toLocaleString('pt-BR')} linhas, o vencedor por último; ` +
        `as ${primeira.toLocaleString('pt-BR')} primeiras estão na tabela para baixar.`;

    el.painelRoda.hidden = !r.roda;
    el.semRoda.hidden = !!r.roda;
    el.semRoda.textContent = r.roda ? '' : `A roda aparece com até ${MAIOR_RODA.toLocaleString('pt-BR')} ` +
      `inscritos; com ${linhas.toLocaleString('pt-BR')}, fica só a tabela.`;
    if (r.roda) desenharRoda(r.roda, r.ordem);
  }

  // The ring: a dot for each soldier in the order of the circle, the first
  // at the top, and names beside the dots while they fit.
  const SVG = 'http://www.w3.org/2000/svg';
  function desenharRoda(nomes, ordem) {
    const total = nomes.length - 1; // the last cell is after the last NUL
    const lado = 600;
    const raio = 220;
    const svg = document.createElementNS(SVG, 'svg');
    svg.setAttribute('viewBox', `0 0 ${lado} ${lado}`);
    svg.setAttribute('role', 'img');
    svg.setAttribute('aria-label', `A roda de ${total} inscritos`);
    const pontos = [];
    const comNomes = total <= 40;
    // Each dot's box and each name's, measured in the names' font.
    const caixa = [[lado / 2 - raio - 12, lado / 2 - raio - 12, lado / 2 + raio + 12, lado / 2 + raio + 12]];
    const pincel = document.createElement('canvas').getContext('2d');
    pincel.font = `${TAMANHO_NOME}px ${getComputedStyle(el.roda).fontFamily}`;
    const r = Math.max(2, Math.min(12, 600 / total));
    for (let i = 0; i < total; ++i) {
      const angulo = (2 * Math.PI * i) / total - Math.PI / 2;
      const x = lado / 2 + raio * Math.cos(angulo);
      const y = lado / 2 + raio * Math.sin(angulo);
      const ponto = document.createElementNS(SVG, 'circle');
      ponto.setAttribute('cx', x.toFixed(1));
      ponto.setAttribute('cy', y.toFixed(1));
      ponto.setAttribute('r', r.toFixed(1));
      const titulo = document.createElementNS(SVG, 'title');
      titulo.textContent = nomes[i];
      ponto.append(titulo);
      svg.append(ponto);
      let rotulo = null;
      if (comNomes) {
        rotulo = document.createElementNS(SVG, 'text');
        const fora = raio + r + 6;
        rotulo.setAttribute('x', (lado / 2 + fora * Math.cos(angulo)).toFixed(1));
        rotulo.setAttribute('y', (lado / 2 + fora * Math.sin(angulo) + 4).toFixed(1));
        rotulo.setAttribute('text-anchor', Math.cos(angulo) < -0.1 ? 'end' : Math.cos(angulo) > 0.1 ? 'start' : 'middle');
        const letras = [...nomes[i]];
        rotulo.textContent = letras.length > MAIOR_ROTULO ? `${letras.slice(0, MAIOR_ROTULO - 1).join('')}…` : nomes[i];
        const largura = pincel.measureText(rotulo.textContent).width;
        const rx = Number(rotulo.getAttribute('x'));
        const ry = Number(rotulo.getAttribute('y'));
        const ancora = rotulo.getAttribute('text-anchor');
        const esquerda = ancora === 'end' ? rx - largura : ancora === 'middle' ? rx - largura / 2 : rx;
        caixa.push([esquerda, ry - TAMANHO_NOME, esquerda + largura, ry + TAMANHO_NOME / 3]);
        svg.append(rotulo);
      }
      pontos.push({ ponto, rotulo });
    }
    el.roda.replaceChildren(svg);
    // The picture holds its names whole: its box is the ring's and the
    // names', drawn at their size where the page is wide enough.
    const [x0, y0, x1, y1] = caixa.reduce(([a, b, c, d], [e, f, g, h]) =>
      [Math.min(a, e), Math.min(b, f), Math.max(c, g), Math.max(d, h)]);
    const margem = 8;
    svg.setAttribute('viewBox', [x0 - margem, y0 - margem, x1 - x0 + 2 * margem, y1 - y0 + 2 * margem]
      .map((v) => v.toFixed(1)).join(' '));
    svg.style.maxWidth = `${(x1 - x0 + 2 * margem).toFixed(0)}px`;
    estado.animacao = { nomes, ordem, pontos, passo: 0, relogio: null, pausada: false };
  }

  function marcar(passo) {
    const a = estado.animacao;
    a.pontos.forEach(({ ponto, rotulo }) => {
      ponto.removeAttribute('class');
      if (rotulo) rotulo.removeAttribute('class');
    });
    for (let k = 0; k < passo; ++k) {
      const { ponto, rotulo } = a.pontos[a.ordem[k]];
      const ultimo = k === a.ordem.length - 1;
      ponto.setAttribute('class', ultimo ? 'vence' : k === passo - 1 ? 'agora' : 'fora');
      if (rotulo && !ultimo) rotulo.setAttribute('class', 'fora');
    }
    a.passo = passo;
    const total = a.ordem.length;
    if (passo === 0) el.saida.textContent = 'A roda antes da contagem.';
    else if (passo === total) el.saida.textContent = `Vence ${a.nomes[a.ordem[total - 1]]}.`;
    else el.saida.textContent = `Saiu ${a.nomes[a.ordem[passo - 1]]} (${passo} de ${total - 1}).`;
  }

  function parar() {
    const a = estado.animacao;
    if (a && a.relogio !== null) { clearInterval(a.relogio); a.relogio = null; }
  }

  function animar() {
    const a = estado.animacao;
    if (!a) return;
    parar();
    const total = a.ordem.length;
    if (window.matchMedia('(prefers-reduced-motion: reduce)').matches) { marcar(total); return; }
    marcar(0);
    a.pausada = false;
    el.pausar.setAttribute('aria-pressed', 'false');
    el.pausar.textContent = 'Pausar';
    const intervalo = Math.max(20, Math.min(700, 15000 / total));
    a.relogio = setInterval(() => {
      if (a.pausada) return;
      marcar(a.passo + 1);
      if (a.passo >= total) parar();
    }, intervalo);
  }

  el.arquivo.addEventListener('change', abrir);
  el.opcoes.addEventListener('submit', sortear);
  el.animar.addEventListener('click', animar);
  el.fim.addEventListener('click', () => { parar(); if (estado.animacao) marcar(estado.animacao.ordem.length); });
  el.pausar.addEventListener('click', () => {
    const a = estado.animacao;
    if (!a) return;
    a.pausada = !a.pausada;
    el.pausar.setAttribute('aria-pressed', String(a.pausada));
    el.pausar.textContent = a.pausada ? 'Continuar' : 'Pausar';
  });

  iniciar().then(() => {
    dizer('Pronta: escolha o arquivo dos inscritos.');
    ir('vazio');
    estado.prontaEm = performance.now();
  }, (erro) => {
    console.error(erro);
    avisar('Este navegador não conseguiu iniciar a página (ela precisa de WebAssembly).');
  });
}());
